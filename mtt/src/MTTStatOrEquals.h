#ifndef MTTSTATOREQUALS_H
#define MTTSTATOREQUALS_H

#include "MTTStatVariableUpdate.h"
#include "MTTStatementRun.h"

// "|=" on an integer flag variable: immediately the value grows by "|" and
// the operand's text; late it emits "name|=operand;".
class MTTStatOrEquals final : public MTTStatVariableUpdate {
public:
    MTTStatOrEquals(const MTTString& iName, MTTIExpression* iValue);

    long Accept(MTTINodeVisitor* visitor) override;
    MTT_EVALUATED_BY_RUN;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
