#include "MessageProbe.h"

#include <memory>

#include "MTTEvaluateText.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTExpVariableType.h"
#include "MTTIStatement.h"
#include "MttModel.h"
#include "MttTemplate.h"

MessageProbe::MessageProbe(const mtt::Template& iTemplate, mtt::Model& ioModel, const mtt::RenderOptions& iOptions)
{
    // As mtt::Template renders: the variables, then the current object.
    std::unique_ptr<MTTEvaluationEnvironment> environment(new MTTEvaluationEnvironment(ioModel.Root()));
    for (const auto& variable : iOptions.variables) {
        environment->AddVariable(MTTString(variable.first.c_str()), MTTString(variable.second.c_str()), MTTVarString);
    }
    if (iOptions.current != nullptr) environment->PushScope(iOptions.current);
    _environment = environment.get();
    MTTIMessageObserver* previous = MTTSetMessageObserver(this);
    const bool printing = MTTSetMessagePrinting(false);
    _evaluated = MTTEvaluateText(iTemplate.Tree(), _environment, _text) == S_OK;
    MTTSetMessagePrinting(printing);
    MTTSetMessageObserver(previous);
    _environment = nullptr;
}

MessageProbe::~MessageProbe() {}

void MessageProbe::OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool, const char* iText)
{
    // The text is written straight into _text, and cut back only once the
    // evaluation returns: here it stands where the message came.
    MTLIModelObject* object = _environment != nullptr ? _environment->GetCurrentModelObject() : nullptr;
    _heard.push_back(Heard{iText, iSubject != nullptr ? iSubject : iReporter, object, _text.Length()});
    // A failure climbs with follow-on messages; the first and these keep
    // the text, so that a failed evaluation leaves where it stopped.
    if (_heard.size() == 1 || (MTTIsFollowOnMessage(iText) && _lastText.size() != _text.Length())) {
        _lastText.assign(_text.ConvertToChar(), _text.Length());
    }
}
