#ifndef MTTSTATLIST_H
#define MTTSTATLIST_H

#include "ListOfMTTIStatement.h"
#include "MTTIStatement.h"
#include "MTTStatementRun.h"

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
    MTT_EVALUATED_BY_RUN;
    // Run again, late-evaluating each statement.
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

private:
    MTTStatList(const MTTStatList&) = delete;
    MTTStatList& operator=(const MTTStatList&) = delete;

    ListOfMTTIStatement _statements;
};

#endif
