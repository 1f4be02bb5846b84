#include "MTTExpGT.h"

#include "MTTNodeSupport.h"

MTTExpGT::MTTExpGT(MTTIExpression* lhs, MTTIExpression* rhs) : MTTExpBinaryOp(lhs, rhs, ">") {}

long MTTExpGT::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

bool MTTExpGT::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    return CompareTexts(iEnvironment, [](const MTTString& iLeft, const MTTString& iRight) { return iLeft > iRight; });
}
