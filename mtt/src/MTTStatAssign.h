#ifndef MTTSTATASSIGN_H
#define MTTSTATASSIGN_H

#include "MTTStatVariableUpdate.h"

// Sets a variable to the text of an expression (creating a string variable
// when the name is unknown). The same in both modes.
class MTTStatAssign : public MTTStatVariableUpdate {
public:
    MTTStatAssign(const MTTString& iName, MTTIExpression* iValue);

    long Accept(MTTINodeVisitor* visitor) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
