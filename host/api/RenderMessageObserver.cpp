#include "RenderMessageObserver.h"

#include <cstdio>

#include "SourceMap.h"

RenderMessageObserver::RenderMessageObserver(const SourceMap& iMap,
                                             std::function<void(const mtt::RenderMessage&)> iOnMessage, bool iPrint)
    : _map(iMap),
      _onMessage(std::move(iOnMessage)),
      _print(iPrint),
      _previous(MTTSetMessageObserver(this)),
      _previousPrinting(MTTSetMessagePrinting(false))
{
}

RenderMessageObserver::~RenderMessageObserver()
{
    MTTSetMessagePrinting(_previousPrinting);
    MTTSetMessageObserver(_previous);
}

void RenderMessageObserver::OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool, const char* iText)
{
    mtt::RenderMessage message;
    message.text = iText;
    // A render stops at its first failure, so a follow-on line right after
    // a message belongs to the cascade that message began.
    message.context = !_messages.empty() && MTTIsFollowOnMessage(iText);
    if (const std::optional<SourceSpan> span = _map.Find(iSubject != nullptr ? iSubject : iReporter)) {
        _map.LineColumn(*span, message.line, message.column);
        message.file = _map.DisplayName(span->file);
        message.excerpt = _map.Excerpt(*span);
    }
    if (_print && !message.context) std::fprintf(stderr, "%s\n", message.ToString().c_str());
    if (_onMessage) _onMessage(message);
    _messages.push_back(std::move(message));
}
