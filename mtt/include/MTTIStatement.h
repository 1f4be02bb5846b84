#ifndef MTTISTATEMENT_H
#define MTTISTATEMENT_H

#include "MTTExport.h"
#include "MTTNode.h"

class MTTEvaluationEnvironment;
class MTTEvaluationOutput;

// Something that produces output. Both evaluations return a new output
// tree owned by the caller, or null after the failure has been reported.
class MTT_EXPORT MTTIStatement : public MTTNode {
public:
    MTTIStatement();
    MTTIStatement(const MTTIStatement& iOther);
    MTTIStatement& operator=(const MTTIStatement& iOther);
    ~MTTIStatement() override;

    // Chains iNext after this statement: returns a new statement list that
    // holds this statement and iNext (or, with null, a new empty list while
    // this statement stays with the caller). Lists append to themselves.
    virtual MTTIStatement* Append(MTTIStatement* iNext);
    virtual MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) = 0;
    // Statements without a late form of their own call the base body,
    // which evaluates immediately.
    virtual MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) = 0;
};

#endif
