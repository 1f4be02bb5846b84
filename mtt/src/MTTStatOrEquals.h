#ifndef MTTSTATOREQUALS_H
#define MTTSTATOREQUALS_H

#include "MTTStatVariableUpdate.h"

class MTTTextWriter;

// "|=" on an integer flag variable: immediately the value grows by "|" and
// the operand's text; late it emits "name|=operand;".
class MTTStatOrEquals final : public MTTStatVariableUpdate {
public:
    MTTStatOrEquals(const MTTString& iName, MTTIExpression* iValue);

    long Accept(MTTINodeVisitor* visitor) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // Evaluate's text alone (MTTEvaluateText), which is none.
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);

private:
    template <class Out>
    typename Out::Result Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut);
};

#endif
