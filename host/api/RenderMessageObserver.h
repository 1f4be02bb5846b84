#ifndef RENDERMESSAGEOBSERVER_H
#define RENDERMESSAGEOBSERVER_H

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "MTTIMessageObserver.h"
#include "MttRenderResult.h"

class MTLIModelObject;
class SourceMap;

// Hears the library's messages during one render on the calling thread and
// gives each the template position of the node behind it (for a failing
// list child, the child) and whether it is context. While it lives the
// library prints none of them: this prints what is not context on the
// standard error stream when iPrint asks for it: a message that repeats one
// printed already (the same text at the same place, as a typo in a loop
// gives for every element) is counted instead, and the count told when the
// render ends. iRootElsewhere: the
// model's root, when the render starts at another object; a property
// missing there that the root has gets a note saying so.
class RenderMessageObserver : public MTTIMessageObserver {
public:
    RenderMessageObserver(const SourceMap& iMap, std::function<void(const mtt::RenderMessage&)> iOnMessage, bool iPrint,
                          MTLIModelObject* iRootElsewhere = nullptr);
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
    // Each message printed, by its line, with how often it came again.
    struct Printed {
        std::string where;  // "FILE:LINE:COLUMN: ", or empty
        size_t repeats = 0;
    };
    std::vector<Printed> _printed;
    std::unordered_map<std::string, size_t> _printedAt;
};

#endif
