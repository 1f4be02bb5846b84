#ifndef MTTSTATFOREACH_H
#define MTTSTATFOREACH_H

#include "MTTIStatement.h"
#include "MTTStatementKind.h"

class MTTIExpression;
class MTTTextWriter;

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
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // Evaluate's text alone (MTTEvaluateText); false where Evaluate fails.
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);

private:
    MTTStatForeach(const MTTStatForeach&) = delete;
    MTTStatForeach& operator=(const MTTStatForeach&) = delete;
    template <class Out>
    typename Out::Result Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut);

    MTTIExpression* _variable;
    MTTIStatement* _action;
    MTTStatementKind _actionKind;
};

#endif
