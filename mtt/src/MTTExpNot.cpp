#include "MTTExpNot.h"

#include "MTTNodeSupport.h"

MTTExpNot::MTTExpNot(MTTIExpression* arg) : _arg(arg) {}

MTTExpNot::~MTTExpNot()
{
    MTTDeleteOwned(_arg);
}

long MTTExpNot::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTExpNot::GetChildCount()
{
    return 1;
}

MTTNode* MTTExpNot::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_arg});
}

int MTTExpNot::GetExpType()
{
    return 2;
}

bool MTTExpNot::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != _arg, "NULL != _arg")) return false;
    return !_arg->EvaluateBoolean(iEnvironment);
}
