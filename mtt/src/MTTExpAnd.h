#ifndef MTTEXPAND_H
#define MTTEXPAND_H

#include "MTTExpBinaryOp.h"

// "&&": logical and, short-circuit: the right operand is not evaluated when the left is false.
class MTTExpAnd final : public MTTExpBinaryOp {
public:
    MTTExpAnd(MTTIExpression* lhs, MTTIExpression* rhs);
    long Accept(MTTINodeVisitor* visitor) override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
