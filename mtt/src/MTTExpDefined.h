#ifndef MTTEXPDEFINED_H
#define MTTEXPDEFINED_H

#include "MTTExpUnaryOp.h"

// The truth value of its operand, unchanged: for a property whether its
// path reaches an object, for a variable whether it is set to a value
// other than "", "false" and "0".
class MTTExpDefined final : public MTTExpUnaryOp {
public:
    explicit MTTExpDefined(MTTIExpression* arg);

    long Accept(MTTINodeVisitor* visitor) override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
