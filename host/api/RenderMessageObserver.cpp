#include "RenderMessageObserver.h"

#include "MTLIModelObject.h"
#include "MTTIExpression.h"
#include "SourceMap.h"

namespace {

bool EndsWith(const std::string& iText, const char* iEnd)
{
    const std::string end(iEnd);
    return iText.size() >= end.size() && iText.compare(iText.size() - end.size(), end.size(), end) == 0;
}

// The library's messages that name a problem without saying what to do.
std::string HintFor(const std::string& iText)
{
    if (EndsWith(iText, "has no UserCode.\n")) {
        return "usercode writes the hand-written code of an object (a JSON object or list element); the path names a "
               "plain value: name the object that holds it ([% usercode %] is the current object)";
    }
    if (EndsWith(iText, "is not an scalar.\n")) {
        return "the object's UserCode member must be a text (or absent: the section then starts empty)";
    }
    return std::string();
}

// The path of a relative property that iRoot has, when iText says the
// property does not exist: the render started at an element, not at the
// root the template was written for. Empty otherwise.
std::string RootPathOf(const std::string& iText, const MTTNode* iSubject, MTLIModelObject* iRoot)
{
    const auto* property = dynamic_cast<const MTTIExpression*>(iSubject);
    if (iRoot == nullptr || property == nullptr || !EndsWith(iText, "\" does not exist.\n")) return std::string();
    // Only a property's path is asked for: its expression type is 1.
    auto* expression = const_cast<MTTIExpression*>(property);
    if (expression->GetExpType() != 1) return std::string();
    const MTTString text = expression->GetPath();
    const std::string path(text.ConvertToChar(), text.Length());
    if (path.empty() || path[0] == '/') return std::string();
    MTLIModelObject* object = iRoot;
    for (std::size_t begin = 0; object != nullptr && begin <= path.size();) {
        std::size_t end = path.find('/', begin);
        if (end == std::string::npos) end = path.size();
        object = object->GetProperty(path.substr(begin, end - begin).c_str());
        begin = end + 1;
    }
    return object != nullptr ? path : std::string();
}

}  // namespace

RenderMessageObserver::RenderMessageObserver(const SourceMap& iMap,
                                             std::function<void(const mtt::RenderMessage&)> iOnMessage, bool iPrint,
                                             std::shared_ptr<mtt::MessageTally> iPrinted,
                                             MTLIModelObject* iRootElsewhere)
    : _map(iMap),
      _onMessage(std::move(iOnMessage)),
      _print(iPrint),
      _root(iRootElsewhere),
      _previous(MTTSetMessageObserver(this)),
      _previousPrinting(MTTSetMessagePrinting(false)),
      _printed(std::move(iPrinted)),
      _ownTally(!_printed)
{
    if (_ownTally) _printed = std::make_shared<mtt::MessageTally>();
}

RenderMessageObserver::~RenderMessageObserver()
{
    if (_ownTally) _printed->PrintCounts();
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
    message.hint = HintFor(message.text);
    const std::string rootPath = message.hint.empty() ? RootPathOf(message.text, iSubject, _root) : std::string();
    if (!rootPath.empty()) {
        message.hint = "the template renders from an element here (as with --each), and \"" + rootPath +
                       "\" belongs to the model's root: write /" + rootPath +
                       " to read it there, or drop --each if the template loops over the elements itself";
    }
    if (_print && !message.context) _printed->Print(message);
    if (_onMessage) _onMessage(message);
    _messages.push_back(std::move(message));
}
