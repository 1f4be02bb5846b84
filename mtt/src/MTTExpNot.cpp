#include "MTTExpNot.h"

#include "MTTNodeSupport.h"

MTTExpNot::MTTExpNot(MTTIExpression* arg) : MTTExpUnaryOp(arg) {}

long MTTExpNot::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

bool MTTExpNot::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    if (_arg == nullptr) return OperandTruth(iEnvironment);  // reports; false
    return !OperandTruth(iEnvironment);
}
