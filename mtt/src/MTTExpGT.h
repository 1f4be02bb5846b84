#ifndef MTTEXPGT_H
#define MTTEXPGT_H

#include "MTTExpBinaryOp.h"

// ">": text greater.
class MTTExpGT final : public MTTExpBinaryOp {
public:
    MTTExpGT(MTTIExpression* lhs, MTTIExpression* rhs);
    long Accept(MTTINodeVisitor* visitor) override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
