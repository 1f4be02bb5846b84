#include "MTTStatEndStatement.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTNodeSupport.h"

MTTStatEndStatement::MTTStatEndStatement() {}

MTTStatEndStatement::~MTTStatEndStatement() {}

long MTTStatEndStatement::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatEndStatement::GetChildCount()
{
    return 0;
}

MTTNode* MTTStatEndStatement::GetChild(int)
{
    return nullptr;
}

// An empty leaf keeps the statement's place among the outputs.
MTTEvaluationOutput* MTTStatEndStatement::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    return new MTTEvaluationOutputLeaf(this, iEnvironment->GetCurrentModelObject(), MTTString());
}

MTTEvaluationOutput* MTTStatEndStatement::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
