#ifndef MTTSTATEXPRESSION_H
#define MTTSTATEXPRESSION_H

#include "MTTExpressionText.h"
#include "MTTIStatement.h"

class MTTIExpression;
class MTTTextWriter;

// Inserts the text of an expression: its value now, its source text late.
class MTTStatExpression final : public MTTIStatement {
public:
    explicit MTTStatExpression(MTTIExpression* iExpression);
    ~MTTStatExpression() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // Evaluate's text alone (MTTEvaluateText); false where Evaluate fails.
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);

    MTTIExpression* GetExpression() const { return _expression; }

private:
    MTTStatExpression(const MTTStatExpression&) = delete;
    MTTStatExpression& operator=(const MTTStatExpression&) = delete;
    template <class Out>
    typename Out::Result Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut);

    MTTIExpression* _expression;
    MTTExpressionText::Kind _kind;
};

#endif
