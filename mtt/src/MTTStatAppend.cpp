#include "MTTStatAppend.h"

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
    MTTString operand = ExtensionOperand(iEnvironment, target);
    if (MTTVariableEntry* entry = target.Entry()) {
        entry->_value.Append(operand);
    } else if (!target.ReadOnly()) {
        MTTEvaluationState::Of(iEnvironment)
            .InsertVariable(target.Name().ConvertToChar(), new MTTVariableEntry(operand, MTTVarString));
    }
    return ioOut.Empty(this, iEnvironment->GetCurrentModelObject());
}

MTT_EVALUATE_BY_RUN(MTTStatAppend)

MTTEvaluationOutput* MTTStatAppend::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
