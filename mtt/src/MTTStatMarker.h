#ifndef MTTSTATMARKER_H
#define MTTSTATMARKER_H

#include "MTTIStatement.h"

class MTTTextWriter;

// What comments and the begin and end markers share: no children, and an
// empty leaf in both modes that keeps the statement's place among the
// outputs, where a consumer can find it through GetStatement().
class MTTStatMarker : public MTTIStatement {
public:
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // Evaluate's text alone (MTTEvaluateText), which is none.
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);

private:
    template <class Out>
    typename Out::Result Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut);
};

#endif
