#ifndef MTTSTATLIST_H
#define MTTSTATLIST_H

#include "ListOfMTTIStatement.h"
#include "MTTIStatement.h"

class MTTTextWriter;

// A sequence of statements, evaluated in order into one output node. It
// owns its statements. The first failing statement makes the list fail.
class MTTStatList final : public MTTIStatement {
public:
    MTTStatList();
    ~MTTStatList() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    // Appends a non-null statement (taken over); returns this list.
    MTTIStatement* Append(MTTIStatement* iNext) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // Evaluate's text alone (MTTEvaluateText); false where Evaluate fails.
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);

private:
    MTTStatList(const MTTStatList&) = delete;
    MTTStatList& operator=(const MTTStatList&) = delete;
    template <class Out>
    typename Out::Result Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut);

    ListOfMTTIStatement _statements;
};

#endif
