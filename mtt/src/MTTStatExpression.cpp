#include "MTTStatExpression.h"

#include <utility>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTNodeSupport.h"
#include "MTTIExpression.h"

MTTStatExpression::MTTStatExpression(MTTIExpression* iExpression) : _expression(iExpression) {}

MTTStatExpression::~MTTStatExpression()
{
    MTTDeleteOwned(_expression);
}

long MTTStatExpression::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatExpression::GetChildCount()
{
    return 1;
}

MTTNode* MTTStatExpression::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_expression});
}

MTTEvaluationOutput* MTTStatExpression::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _expression, "NULL != _expression")) return nullptr;
    MTTString value = _expression->EvaluateString(iEnvironment);
    return new MTTEvaluationOutputLeaf(this, iEnvironment->GetCurrentModelObject(), std::move(value));
}

// Late, the leaf holds the expression's source text and no model object.
MTTEvaluationOutput* MTTStatExpression::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _expression, "NULL != _expression")) return nullptr;
    return new MTTEvaluationOutputLeaf(this, nullptr, _expression->LateEvaluate(iEnvironment));
}
