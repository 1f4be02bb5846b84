#ifndef MTTEXPLT_H
#define MTTEXPLT_H

#include "MTTExpBinaryOp.h"

// "<": text less.
class MTTExpLT final : public MTTExpBinaryOp {
public:
    MTTExpLT(MTTIExpression* lhs, MTTIExpression* rhs);
    long Accept(MTTINodeVisitor* visitor) override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
