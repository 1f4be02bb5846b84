#include "MTTExpOr.h"

#include "MTTNodeSupport.h"

MTTExpOr::MTTExpOr(MTTIExpression* lhs, MTTIExpression* rhs) : MTTExpBinaryOp(lhs, rhs, "||") {}

long MTTExpOr::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

bool MTTExpOr::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    if (!CheckOperands()) return false;
    if (_lhs->EvaluateBoolean(iEnvironment)) return true;
    return _rhs->EvaluateBoolean(iEnvironment);
}
