#ifndef RENDERMESSAGEOBSERVER_H
#define RENDERMESSAGEOBSERVER_H

#include <functional>
#include <memory>
#include <vector>

#include "MTTIMessageObserver.h"
#include "MessageTally.h"
#include "MttRenderResult.h"

class MTLIModelObject;
class SourceMap;

// Hears the library's messages during one render on the calling thread and
// gives each the template position of the node behind it (for a failing
// list child, the child) and whether it is context. While it lives the
// library prints none of them: this prints what is not context on the
// standard error stream when iPrint asks for it, through iPrinted (a
// MessageTally: a message printed already is counted instead), or through
// one of its own that tells its counts when the render ends. iRootElsewhere: the
// model's root, when the render starts at another object; a property
// missing there that the root has gets a note saying so.
class RenderMessageObserver : public MTTIMessageObserver {
public:
    RenderMessageObserver(const SourceMap& iMap, std::function<void(const mtt::RenderMessage&)> iOnMessage, bool iPrint,
                          std::shared_ptr<mtt::MessageTally> iPrinted, MTLIModelObject* iRootElsewhere = nullptr);
    ~RenderMessageObserver() override;
    RenderMessageObserver(const RenderMessageObserver&) = delete;
    RenderMessageObserver& operator=(const RenderMessageObserver&) = delete;

    void OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool iToStandardError,
                   const char* iText) override;

    std::vector<mtt::RenderMessage>& Messages() { return _messages; }

private:
    const SourceMap& _map;
    std::function<void(const mtt::RenderMessage&)> _onMessage;
    bool _print;
    MTLIModelObject* _root;
    MTTIMessageObserver* _previous;
    bool _previousPrinting;
    std::vector<mtt::RenderMessage> _messages;
    std::shared_ptr<mtt::MessageTally> _printed;
    bool _ownTally;
};

#endif
