#include "MTTStatAssign.h"

#include <memory>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"

MTTStatAssign::MTTStatAssign(const MTTString& iName, MTTIExpression* iValue) : MTTStatVariableUpdate(iName, iValue) {}

long MTTStatAssign::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

MTTEvaluationOutput* MTTStatAssign::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!CheckEvaluation(iEnvironment)) return nullptr;
    MTTReportingNode reporting(this);  // a write through a read-only alias is reported by the environment
    iEnvironment->AddVariable(_name, _value->EvaluateString(iEnvironment), MTTVarString);
    return new MTTEvaluationOutputNode(this, iEnvironment->GetCurrentModelObject());
}

MTTEvaluationOutput* MTTStatAssign::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
