#ifndef MTTSTATBEGINSTATEMENT_H
#define MTTSTATBEGINSTATEMENT_H

#include "MTTIStatement.h"

// Marks the beginning of a statement: an empty leaf in both modes.
class MTTStatBeginStatement : public MTTIStatement {
public:
    MTTStatBeginStatement();
    ~MTTStatBeginStatement() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
