#include "MTTStatComment.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTNodeSupport.h"

MTTStatComment::MTTStatComment(const MTTString& iText) : _comment(iText) {}

MTTStatComment::~MTTStatComment() {}

long MTTStatComment::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatComment::GetChildCount()
{
    return 0;
}

MTTNode* MTTStatComment::GetChild(int)
{
    return nullptr;
}

// An empty leaf keeps the statement's place among the outputs.
MTTEvaluationOutput* MTTStatComment::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    return new MTTEvaluationOutputLeaf(this, iEnvironment->GetCurrentModelObject(), MTTString());
}

MTTEvaluationOutput* MTTStatComment::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
