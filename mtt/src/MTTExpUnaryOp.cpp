#include "MTTExpUnaryOp.h"

#include "MTTNodeSupport.h"

MTTExpUnaryOp::MTTExpUnaryOp(MTTIExpression* arg) : _arg(arg) {}

MTTExpUnaryOp::~MTTExpUnaryOp()
{
    MTTDeleteOwned(_arg);
}

int MTTExpUnaryOp::GetChildCount()
{
    return 1;
}

MTTNode* MTTExpUnaryOp::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_arg});
}

int MTTExpUnaryOp::GetExpType()
{
    return 2;
}

bool MTTExpUnaryOp::OperandTruth(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != _arg, "NULL != _arg")) return false;
    return _arg->EvaluateBoolean(iEnvironment);
}
