#include "MTTExpGEQ.h"

#include "MTTNodeSupport.h"

MTTExpGEQ::MTTExpGEQ(MTTIExpression* lhs, MTTIExpression* rhs) : MTTExpBinaryOp(lhs, rhs, ">=") {}

long MTTExpGEQ::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

bool MTTExpGEQ::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    return CompareTexts(iEnvironment, [](const MTTString& iLeft, const MTTString& iRight) { return iLeft >= iRight; });
}
