#include "MTTStatAppend.h"

#include <memory>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"

MTTStatAppend::MTTStatAppend(const MTTString& iName, MTTIExpression* iValue) : _name(iName), _value(iValue) {}

MTTStatAppend::~MTTStatAppend()
{
    MTTDeleteOwned(_value);
}

long MTTStatAppend::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatAppend::GetChildCount()
{
    return 1;
}

MTTNode* MTTStatAppend::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_value});
}

MTTEvaluationOutput* MTTStatAppend::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != _value, "NULL != _value")) return nullptr;
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    std::unique_ptr<MTTString> current(iEnvironment->GetVariable(_name));
    MTTString operand = _value->EvaluateString(iEnvironment);
    if (current) {
        current->Append(operand);
        iEnvironment->AddVariable(_name, *current, MTTVarString);
    } else {
        iEnvironment->AddVariable(_name, operand, MTTVarString);
    }
    return new MTTEvaluationOutputNode(this, iEnvironment->GetCurrentModelObject());
}

MTTEvaluationOutput* MTTStatAppend::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
