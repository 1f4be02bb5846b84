#include "MTTStatList.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationLevel.h"
#include "MTTMessages.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"

MTTStatList::MTTStatList() {}

MTTStatList::~MTTStatList()
{
    MTTDeleteElements(_statements);
}

long MTTStatList::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatList::GetChildCount()
{
    return _statements.Size();
}

MTTNode* MTTStatList::GetChild(int iIndex)
{
    return MTTListChildAt(_statements, iIndex);
}

MTTIStatement* MTTStatList::Append(MTTIStatement* iNext)
{
    if (iNext != nullptr) _statements.Append(iNext);
    return this;
}

// Both modes share this loop. Late outputs carry no model object, and a
// null statement is a failed precondition there rather than a malformed
// list: the words differ, the steps do not.
template <class Out>
typename Out::Result MTTStatList::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    const bool late = ioOut.Late();
    MTTEvaluationLevel level(iEnvironment);
    typename Out::Node node = ioOut.Open(this, late ? nullptr : iEnvironment->GetCurrentModelObject());
    ioOut.Reserve(node, _statements.Size());
    for (int i = 1; i <= _statements.Size(); ++i) {
        MTTIStatement* statement = _statements[i];
        if (statement == nullptr) {
            if (late) {
                MTT_CHECK(NULL != statement, "NULL != elem");
            } else {
                MTTReport(this, this, stdout, MTTMessages::kMalformedList);
            }
            return ioOut.Abandon(node);
        }
        if (!ioOut.Add(node, statement, _statements.KindAt(i), iEnvironment)) {
            MTTReport(this, statement, stdout, late ? MTTMessages::kListChildFailedLate : MTTMessages::kListChildFailed,
                      i);
            return ioOut.Abandon(node);
        }
    }
    return ioOut.Close(node);
}

MTT_EVALUATE_BY_RUN(MTTStatList)

MTTEvaluationOutput* MTTStatList::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    MTTOutputBuilder builder(true);
    return Run(iEnvironment, builder);
}
