#ifndef MTTEXPOR_H
#define MTTEXPOR_H

#include "MTTExpBinaryOp.h"

// "||": logical or, short-circuit: the right operand is not evaluated when the left is true.
class MTTExpOr final : public MTTExpBinaryOp {
public:
    MTTExpOr(MTTIExpression* lhs, MTTIExpression* rhs);
    long Accept(MTTINodeVisitor* visitor) override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
