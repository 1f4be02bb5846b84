#include "MTTStatVariableUpdate.h"

#include <memory>

#include "MTTEvaluationEnvironment.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"
#include "MTTVariableTarget.h"

MTTStatVariableUpdate::MTTStatVariableUpdate(const MTTString& iName, MTTIExpression* iValue)
    : _name(iName), _value(iValue)
{
}

MTTStatVariableUpdate::~MTTStatVariableUpdate()
{
    MTTDeleteOwned(_value);
}

int MTTStatVariableUpdate::GetChildCount()
{
    return 1;
}

MTTNode* MTTStatVariableUpdate::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_value});
}

bool MTTStatVariableUpdate::CheckEvaluation(MTTEvaluationEnvironment* iEnvironment) const
{
    if (!MTT_CHECK(NULL != _value, "NULL != _value")) return false;
    return MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment");
}

MTTString MTTStatVariableUpdate::ExtensionOperand(MTTEvaluationEnvironment* iEnvironment,
                                                  const MTTVariableTarget& iTarget)
{
    if (!iTarget.ReadOnly()) return _value->EvaluateString(iEnvironment);
    std::unique_ptr<MTTString> current(iEnvironment->GetVariable(_name));
    MTTString operand = _value->EvaluateString(iEnvironment);
    MTTReportingNode reporting(this);
    iEnvironment->SetVariable(_name, operand);  // refused and reported by the environment
    return operand;
}
