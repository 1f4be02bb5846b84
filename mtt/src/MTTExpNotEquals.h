#ifndef MTTEXPNOTEQUALS_H
#define MTTEXPNOTEQUALS_H

#include "MTTExpBinaryOp.h"

// "!=": text inequality.
class MTTExpNotEquals final : public MTTExpBinaryOp {
public:
    MTTExpNotEquals(MTTIExpression* lhs, MTTIExpression* rhs);
    long Accept(MTTINodeVisitor* visitor) override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
