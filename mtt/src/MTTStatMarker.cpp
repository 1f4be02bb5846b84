#include "MTTStatMarker.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"

int MTTStatMarker::GetChildCount()
{
    return 0;
}

MTTNode* MTTStatMarker::GetChild(int)
{
    return nullptr;
}

template <class Out>
typename Out::Result MTTStatMarker::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    return ioOut.Leaf(this, iEnvironment->GetCurrentModelObject(), "", 0);
}

MTT_EVALUATE_BY_RUN(MTTStatMarker)

MTTEvaluationOutput* MTTStatMarker::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
