#ifndef MTTSTATASSIGN_H
#define MTTSTATASSIGN_H

#include "MTTStatVariableUpdate.h"
#include "MTTStatementRun.h"

// Sets a variable to the text of an expression (creating a string variable
// when the name is unknown). The same in both modes.
class MTTStatAssign final : public MTTStatVariableUpdate {
public:
    MTTStatAssign(const MTTString& iName, MTTIExpression* iValue);

    long Accept(MTTINodeVisitor* visitor) override;
    MTT_EVALUATED_BY_RUN;
    // The shared late form: Evaluate.
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
