#include "MTTStatBeginStatement.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTNodeSupport.h"

MTTStatBeginStatement::MTTStatBeginStatement() {}

MTTStatBeginStatement::~MTTStatBeginStatement() {}

long MTTStatBeginStatement::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatBeginStatement::GetChildCount()
{
    return 0;
}

MTTNode* MTTStatBeginStatement::GetChild(int)
{
    return nullptr;
}

// An empty leaf keeps the statement's place among the outputs.
MTTEvaluationOutput* MTTStatBeginStatement::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    return new MTTEvaluationOutputLeaf(this, iEnvironment->GetCurrentModelObject(), MTTString());
}

MTTEvaluationOutput* MTTStatBeginStatement::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
