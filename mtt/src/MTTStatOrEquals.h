#ifndef MTTSTATOREQUALS_H
#define MTTSTATOREQUALS_H

#include "MTTStatVariableUpdate.h"

// "|=" on an integer flag variable: immediately the value grows by "|" and
// the operand's text; late it emits "name|=operand;".
class MTTStatOrEquals : public MTTStatVariableUpdate {
public:
    MTTStatOrEquals(const MTTString& iName, MTTIExpression* iValue);

    long Accept(MTTINodeVisitor* visitor) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
