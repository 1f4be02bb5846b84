#ifndef MTTSTATEXPRESSION_H
#define MTTSTATEXPRESSION_H

#include "MTTIStatement.h"

class MTTIExpression;

// Inserts the text of an expression: its value now, its source text late.
class MTTStatExpression : public MTTIStatement {
public:
    explicit MTTStatExpression(MTTIExpression* iExpression);
    ~MTTStatExpression() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTIExpression* GetExpression() const { return _expression; }

private:
    MTTStatExpression(const MTTStatExpression&) = delete;
    MTTStatExpression& operator=(const MTTStatExpression&) = delete;

    MTTIExpression* _expression;
};

#endif
