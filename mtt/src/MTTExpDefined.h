#ifndef MTTEXPDEFINED_H
#define MTTEXPDEFINED_H

#include "MTTIExpression.h"

// The truth value of its operand, unchanged: for a property whether its
// path reaches an object, for a variable whether it is set to a value
// other than "", "false" and "0". It has no late form.
class MTTExpDefined : public MTTIExpression {
public:
    explicit MTTExpDefined(MTTIExpression* arg);
    ~MTTExpDefined() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    int GetExpType() override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;

    MTTIExpression* GetArg() const { return _arg; }

private:
    MTTExpDefined(const MTTExpDefined&) = delete;
    MTTExpDefined& operator=(const MTTExpDefined&) = delete;

    MTTIExpression* _arg;
};

#endif
