#ifndef MTTSTATFOREACH_H
#define MTTSTATFOREACH_H

#include "MTTIStatement.h"
#include "MTTStatementKind.h"
#include "MTTStatementRun.h"

class MTTIExpression;

// Evaluates its body once per element of a model list, with the element as
// the current model object (one scope per element). Late, a counted loop
// whose bound and element access come from the late evaluator.
class MTTStatForeach final : public MTTIStatement {
public:
    MTTStatForeach(MTTIExpression* iVariable, MTTIStatement* iAction);
    ~MTTStatForeach() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTT_EVALUATED_BY_RUN;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

private:
    MTTStatForeach(const MTTStatForeach&) = delete;
    MTTStatForeach& operator=(const MTTStatForeach&) = delete;

    MTTIExpression* _variable;
    MTTIStatement* _action;
    MTTStatementKind _actionKind;
};

#endif
