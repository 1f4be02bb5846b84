#include "MTTStatAppend.h"

#include <memory>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationState.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"
#include "MTTVariableEntry.h"
#include "MTTVariableTarget.h"

MTTStatAppend::MTTStatAppend(const MTTString& iName, MTTIExpression* iValue) : MTTStatVariableUpdate(iName, iValue) {}

long MTTStatAppend::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

template <class Out>
typename Out::Result MTTStatAppend::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!CheckEvaluation(iEnvironment)) return ioOut.Fail();
    MTTVariableTarget target(iEnvironment, _name);
    if (target.ReadOnly()) {
        // The alias is read as for any append, then the write is refused.
        std::unique_ptr<MTTString> current(iEnvironment->GetVariable(_name));
        MTTString operand = _value->EvaluateString(iEnvironment);
        MTTReportingNode reporting(this);
        iEnvironment->AddVariable(_name, operand, MTTVarString);
    } else {
        MTTString operand = _value->EvaluateString(iEnvironment);
        if (MTTVariableEntry* entry = target.Entry()) {
            entry->_value.Append(operand);
        } else {
            MTTEvaluationState::Of(iEnvironment)
                .InsertVariable(target.Name().ConvertToChar(), new MTTVariableEntry(operand, MTTVarString));
        }
    }
    return ioOut.Empty(this, iEnvironment->GetCurrentModelObject());
}

MTTEvaluationOutput* MTTStatAppend::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    MTTOutputBuilder builder;
    return Run(iEnvironment, builder);
}

bool MTTStatAppend::WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter)
{
    return Run(iEnvironment, ioWriter);
}

MTTEvaluationOutput* MTTStatAppend::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
