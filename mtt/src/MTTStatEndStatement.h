#ifndef MTTSTATENDSTATEMENT_H
#define MTTSTATENDSTATEMENT_H

#include "MTTIStatement.h"

// Marks the end of a statement: an empty leaf in both modes.
class MTTStatEndStatement : public MTTIStatement {
public:
    MTTStatEndStatement();
    ~MTTStatEndStatement() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
