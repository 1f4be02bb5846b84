#ifndef MTTSTATMARKER_H
#define MTTSTATMARKER_H

#include "MTTIStatement.h"
#include "MTTStatementRun.h"

// What comments and the begin and end markers share: no children, and an
// empty leaf in both modes that keeps the statement's place among the
// outputs, where a consumer can find it through GetStatement().
class MTTStatMarker : public MTTIStatement {
public:
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTT_EVALUATED_BY_RUN;
    // The shared late form: Evaluate.
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
};

#endif
