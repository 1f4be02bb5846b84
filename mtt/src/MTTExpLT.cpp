#include "MTTExpLT.h"

#include "MTTNodeSupport.h"

MTTExpLT::MTTExpLT(MTTIExpression* lhs, MTTIExpression* rhs) : MTTExpBinaryOp(lhs, rhs, "<") {}

long MTTExpLT::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

bool MTTExpLT::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    return CompareTexts(iEnvironment, [](const MTTString& iLeft, const MTTString& iRight) { return iLeft < iRight; });
}
