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

MTTEvaluationOutput* MTTStatMarker::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    MTTOutputBuilder builder;
    return Run(iEnvironment, builder);
}

bool MTTStatMarker::WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter)
{
    return Run(iEnvironment, ioWriter);
}

MTTEvaluationOutput* MTTStatMarker::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
