#include "MTTExpDefined.h"

#include "MTTNodeSupport.h"

MTTExpDefined::MTTExpDefined(MTTIExpression* arg) : _arg(arg) {}

MTTExpDefined::~MTTExpDefined()
{
    MTTDeleteOwned(_arg);
}

long MTTExpDefined::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTExpDefined::GetChildCount()
{
    return 1;
}

MTTNode* MTTExpDefined::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_arg});
}

int MTTExpDefined::GetExpType()
{
    return 2;
}

bool MTTExpDefined::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != _arg, "NULL != _arg")) return false;
    return _arg->EvaluateBoolean(iEnvironment);
}
