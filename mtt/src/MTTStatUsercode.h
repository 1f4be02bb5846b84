#ifndef MTTSTATUSERCODE_H
#define MTTSTATUSERCODE_H

#include "MTTIStatement.h"
#include "MTTStatementRun.h"

class MTTIExpression;

// Inserts the user code that the model keeps for the object its expression
// designates, between two marker lines; the user's text gets a leaf of type
// MTTLeafUserCode. Late, only the expression's source text.
class MTTStatUsercode final : public MTTIStatement {
public:
    explicit MTTStatUsercode(MTTIExpression* iExpression);
    ~MTTStatUsercode() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTT_EVALUATED_BY_RUN;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTIExpression* GetExpression() const { return _variable; }

private:
    MTTStatUsercode(const MTTStatUsercode&) = delete;
    MTTStatUsercode& operator=(const MTTStatUsercode&) = delete;

    MTTIExpression* _variable;
};

#endif
