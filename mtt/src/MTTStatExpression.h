#ifndef MTTSTATEXPRESSION_H
#define MTTSTATEXPRESSION_H

#include "MTTExpressionText.h"
#include "MTTIStatement.h"
#include "MTTStatementRun.h"

class MTTIExpression;

// Inserts the text of an expression: its value now, its source text late.
class MTTStatExpression final : public MTTIStatement {
public:
    explicit MTTStatExpression(MTTIExpression* iExpression);
    ~MTTStatExpression() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTT_EVALUATED_BY_RUN;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTIExpression* GetExpression() const { return _expression; }
    // What the expression is, found when the statement was built.
    MTTExpressionText::Kind ExpressionKind() const { return _kind; }

private:
    MTTStatExpression(const MTTStatExpression&) = delete;
    MTTStatExpression& operator=(const MTTStatExpression&) = delete;

    MTTIExpression* _expression;
    MTTExpressionText::Kind _kind;
};

#endif
