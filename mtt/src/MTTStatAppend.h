#ifndef MTTSTATAPPEND_H
#define MTTSTATAPPEND_H

#include "MTTStatVariableUpdate.h"
#include "MTTStatementRun.h"

// Appends the text of an expression to a variable (creating a string
// variable when the name is unknown). The same in both modes.
class MTTStatAppend final : public MTTStatVariableUpdate {
public:
    MTTStatAppend(const MTTString& iName, MTTIExpression* iValue);

    long Accept(MTTINodeVisitor* visitor) override;
    MTT_EVALUATED_BY_RUN;
    // The shared late form: Evaluate.
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
