#include "MTTExpEquals.h"

#include "MTTNodeSupport.h"

MTTExpEquals::MTTExpEquals(MTTIExpression* lhs, MTTIExpression* rhs) : MTTExpBinaryOp(lhs, rhs, "==") {}

long MTTExpEquals::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

bool MTTExpEquals::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    return CompareTexts(iEnvironment, [](const MTTString& iLeft, const MTTString& iRight) { return iLeft == iRight; });
}
