#include "MTTStatVariableUpdate.h"

#include "MTTIExpression.h"
#include "MTTNodeSupport.h"

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
