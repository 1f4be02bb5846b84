#ifndef MTTSTATUSERCODE_H
#define MTTSTATUSERCODE_H

#include "MTTIStatement.h"

class MTTIExpression;
class MTTTextWriter;

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
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // Evaluate's text alone (MTTEvaluateText); false where Evaluate fails.
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);

    MTTIExpression* GetExpression() const { return _variable; }

private:
    MTTStatUsercode(const MTTStatUsercode&) = delete;
    MTTStatUsercode& operator=(const MTTStatUsercode&) = delete;
    template <class Out>
    typename Out::Result Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut);

    MTTIExpression* _variable;
};

#endif
