#ifndef MTTEXPNOT_H
#define MTTEXPNOT_H

#include "MTTExpUnaryOp.h"

// Negation of its operand's truth value.
class MTTExpNot final : public MTTExpUnaryOp {
public:
    explicit MTTExpNot(MTTIExpression* arg);

    long Accept(MTTINodeVisitor* visitor) override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
