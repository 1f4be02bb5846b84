#include "MTTExpNotEquals.h"

#include "MTTNodeSupport.h"

MTTExpNotEquals::MTTExpNotEquals(MTTIExpression* lhs, MTTIExpression* rhs) : MTTExpBinaryOp(lhs, rhs, "!=") {}

long MTTExpNotEquals::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

bool MTTExpNotEquals::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    return CompareTexts(iEnvironment, [](const MTTString& iLeft, const MTTString& iRight) { return iLeft != iRight; });
}
