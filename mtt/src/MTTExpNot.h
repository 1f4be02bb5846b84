#ifndef MTTEXPNOT_H
#define MTTEXPNOT_H

#include "MTTIExpression.h"

// Negation of its operand's truth value. It has no late form.
class MTTExpNot : public MTTIExpression {
public:
    explicit MTTExpNot(MTTIExpression* arg);
    ~MTTExpNot() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    int GetExpType() override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;

    MTTIExpression* GetArg() const { return _arg; }

private:
    MTTExpNot(const MTTExpNot&) = delete;
    MTTExpNot& operator=(const MTTExpNot&) = delete;

    MTTIExpression* _arg;
};

#endif
