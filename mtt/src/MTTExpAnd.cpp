#include "MTTExpAnd.h"

#include "MTTNodeSupport.h"

MTTExpAnd::MTTExpAnd(MTTIExpression* lhs, MTTIExpression* rhs) : MTTExpBinaryOp(lhs, rhs, "&&") {}

long MTTExpAnd::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

bool MTTExpAnd::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    if (!CheckOperands()) return false;
    if (!_lhs->EvaluateBoolean(iEnvironment)) return false;
    return _rhs->EvaluateBoolean(iEnvironment);
}
