#include "MTTStatAssign.h"

#include <memory>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"

MTTStatAssign::MTTStatAssign(const MTTString& iName, MTTIExpression* iValue) : _name(iName), _value(iValue) {}

MTTStatAssign::~MTTStatAssign()
{
    MTTDeleteOwned(_value);
}

long MTTStatAssign::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatAssign::GetChildCount()
{
    return 1;
}

MTTNode* MTTStatAssign::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_value});
}

MTTEvaluationOutput* MTTStatAssign::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != _value, "NULL != _value")) return nullptr;
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    iEnvironment->AddVariable(_name, _value->EvaluateString(iEnvironment), MTTVarString);
    return new MTTEvaluationOutputNode(this, iEnvironment->GetCurrentModelObject());
}

MTTEvaluationOutput* MTTStatAssign::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
