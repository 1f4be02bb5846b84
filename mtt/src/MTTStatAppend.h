#ifndef MTTSTATAPPEND_H
#define MTTSTATAPPEND_H

#include "MTTStatVariableUpdate.h"

// Appends the text of an expression to a variable (creating a string
// variable when the name is unknown). The same in both modes.
class MTTStatAppend : public MTTStatVariableUpdate {
public:
    MTTStatAppend(const MTTString& iName, MTTIExpression* iValue);

    long Accept(MTTINodeVisitor* visitor) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
