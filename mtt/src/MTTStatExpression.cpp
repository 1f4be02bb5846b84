#include "MTTStatExpression.h"

#include <utility>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"

MTTStatExpression::MTTStatExpression(MTTIExpression* iExpression)
    : _expression(iExpression), _kind(MTTExpressionText::KindOf(iExpression))
{
}

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

template <class Out>
typename Out::Result MTTStatExpression::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    if (!MTT_CHECK(NULL != _expression, "NULL != _expression")) return ioOut.Fail();
    return ioOut.Value(this, iEnvironment->GetCurrentModelObject(), _expression, _kind, iEnvironment);
}

MTT_EVALUATE_BY_RUN(MTTStatExpression)

// Late, the leaf holds the expression's source text and no model object.
MTTEvaluationOutput* MTTStatExpression::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _expression, "NULL != _expression")) return nullptr;
    return new MTTEvaluationOutputLeaf(this, nullptr, _expression->LateEvaluate(iEnvironment));
}
