#ifndef MTTEXPGEQ_H
#define MTTEXPGEQ_H

#include "MTTExpBinaryOp.h"

// ">=": text greater-or-equal.
class MTTExpGEQ final : public MTTExpBinaryOp {
public:
    MTTExpGEQ(MTTIExpression* lhs, MTTIExpression* rhs);
    long Accept(MTTINodeVisitor* visitor) override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
