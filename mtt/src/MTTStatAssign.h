#ifndef MTTSTATASSIGN_H
#define MTTSTATASSIGN_H

#include "MTTStatVariableUpdate.h"

class MTTTextWriter;

// Sets a variable to the text of an expression (creating a string variable
// when the name is unknown). The same in both modes.
class MTTStatAssign final : public MTTStatVariableUpdate {
public:
    MTTStatAssign(const MTTString& iName, MTTIExpression* iValue);

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
