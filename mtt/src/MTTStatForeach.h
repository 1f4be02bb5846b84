#ifndef MTTSTATFOREACH_H
#define MTTSTATFOREACH_H

#include "MTTIStatement.h"

class MTTIExpression;

// Evaluates its body once per element of a model list, with the element as
// the current model object (one scope per element). Late, a counted loop
// whose bound and element access come from the late evaluator.
class MTTStatForeach : public MTTIStatement {
public:
    MTTStatForeach(MTTIExpression* iVariable, MTTIStatement* iAction);
    ~MTTStatForeach() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

private:
    MTTStatForeach(const MTTStatForeach&) = delete;
    MTTStatForeach& operator=(const MTTStatForeach&) = delete;

    MTTIExpression* _variable;
    MTTIStatement* _action;
};

#endif
