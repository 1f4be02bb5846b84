#ifndef MTTEXPLEQ_H
#define MTTEXPLEQ_H

#include "MTTExpBinaryOp.h"

// "<=": text less-or-equal.
class MTTExpLEQ final : public MTTExpBinaryOp {
public:
    MTTExpLEQ(MTTIExpression* lhs, MTTIExpression* rhs);
    long Accept(MTTINodeVisitor* visitor) override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
