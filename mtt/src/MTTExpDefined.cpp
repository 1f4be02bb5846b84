#include "MTTExpDefined.h"

#include "MTTNodeSupport.h"

MTTExpDefined::MTTExpDefined(MTTIExpression* arg) : MTTExpUnaryOp(arg) {}

long MTTExpDefined::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

bool MTTExpDefined::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    return OperandTruth(iEnvironment);
}
