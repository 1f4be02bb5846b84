#include "MTTStatMarker.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTNodeSupport.h"

int MTTStatMarker::GetChildCount()
{
    return 0;
}

MTTNode* MTTStatMarker::GetChild(int)
{
    return nullptr;
}

MTTEvaluationOutput* MTTStatMarker::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    return new MTTEvaluationOutputLeaf(this, iEnvironment->GetCurrentModelObject(), MTTString());
}

MTTEvaluationOutput* MTTStatMarker::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
