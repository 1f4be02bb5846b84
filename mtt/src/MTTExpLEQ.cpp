#include "MTTExpLEQ.h"

#include "MTTNodeSupport.h"

MTTExpLEQ::MTTExpLEQ(MTTIExpression* lhs, MTTIExpression* rhs) : MTTExpBinaryOp(lhs, rhs, "<=") {}

long MTTExpLEQ::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

bool MTTExpLEQ::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    return CompareTexts(iEnvironment, [](const MTTString& iLeft, const MTTString& iRight) { return iLeft <= iRight; });
}
