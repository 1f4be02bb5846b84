#include "RenderMessageObserver.h"

#include "SourceMap.h"

RenderMessageObserver::RenderMessageObserver(const SourceMap& iMap,
                                             std::function<void(const mtt::RenderMessage&)> iOnMessage)
    : _map(iMap), _onMessage(std::move(iOnMessage)), _previous(MTTSetMessageObserver(this))
{
}

RenderMessageObserver::~RenderMessageObserver()
{
    MTTSetMessageObserver(_previous);
}

void RenderMessageObserver::OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool, const char* iText)
{
    mtt::RenderMessage message;
    message.text = iText;
    if (const std::optional<SourceSpan> span = _map.Find(iSubject != nullptr ? iSubject : iReporter)) {
        _map.LineColumn(*span, message.line, message.column);
        message.file = _map.DisplayName(span->file);
        message.excerpt = _map.Excerpt(*span);
    }
    if (_onMessage) _onMessage(message);
    _messages.push_back(std::move(message));
}
