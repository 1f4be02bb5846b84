#include "MTTStatAppend.h"

#include <memory>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"

MTTStatAppend::MTTStatAppend(const MTTString& iName, MTTIExpression* iValue) : MTTStatVariableUpdate(iName, iValue) {}

long MTTStatAppend::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

MTTEvaluationOutput* MTTStatAppend::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!CheckEvaluation(iEnvironment)) return nullptr;
    std::unique_ptr<MTTString> current(iEnvironment->GetVariable(_name));
    MTTString operand = _value->EvaluateString(iEnvironment);
    MTTReportingNode reporting(this);
    if (current) {
        current->Append(operand);
        iEnvironment->AddVariable(_name, *current, MTTVarString);
    } else {
        iEnvironment->AddVariable(_name, operand, MTTVarString);
    }
    return new MTTEvaluationOutputNode(this, iEnvironment->GetCurrentModelObject());
}

MTTEvaluationOutput* MTTStatAppend::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
