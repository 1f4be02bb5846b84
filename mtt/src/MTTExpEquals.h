#ifndef MTTEXPEQUALS_H
#define MTTEXPEQUALS_H

#include "MTTExpBinaryOp.h"

// "==": text equality.
class MTTExpEquals final : public MTTExpBinaryOp {
public:
    MTTExpEquals(MTTIExpression* lhs, MTTIExpression* rhs);
    long Accept(MTTINodeVisitor* visitor) override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
