#ifndef RENDERMESSAGEOBSERVER_H
#define RENDERMESSAGEOBSERVER_H

#include <functional>
#include <vector>

#include "MTTIMessageObserver.h"
#include "MttRenderResult.h"

class SourceMap;

// Hears the library's messages during one render on the calling thread and
// gives each the template position of the node behind it (for a failing
// list child, the child). Set while it lives.
class RenderMessageObserver : public MTTIMessageObserver {
public:
    RenderMessageObserver(const SourceMap& iMap, std::function<void(const mtt::RenderMessage&)> iOnMessage);
    ~RenderMessageObserver() override;
    RenderMessageObserver(const RenderMessageObserver&) = delete;
    RenderMessageObserver& operator=(const RenderMessageObserver&) = delete;

    void OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool iToStandardError,
                   const char* iText) override;

    std::vector<mtt::RenderMessage>& Messages() { return _messages; }

private:
    const SourceMap& _map;
    std::function<void(const mtt::RenderMessage&)> _onMessage;
    MTTIMessageObserver* _previous;
    std::vector<mtt::RenderMessage> _messages;
};

#endif
