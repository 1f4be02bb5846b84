#include "MTTExpVariable.h"

#include <memory>

#include "MTTAliasResolution.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTNodeSupport.h"

MTTExpVariable::MTTExpVariable(const MTTString& iName) : _name(iName) {}

MTTExpVariable::~MTTExpVariable() {}

long MTTExpVariable::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTExpVariable::GetChildCount()
{
    return 0;
}

MTTNode* MTTExpVariable::GetChild(int)
{
    return nullptr;
}

int MTTExpVariable::GetExpType()
{
    return 0;
}

bool MTTExpVariable::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return false;
    {
        // An alias answers with its own expression's truth (a string alias
        // is false only for "false").
        MTTAliasResolution alias(iEnvironment, _name);
        if (alias.Expression() != nullptr) return alias.Expression()->EvaluateBoolean(iEnvironment);
    }
    std::unique_ptr<MTTString> value(iEnvironment->GetVariable(_name));
    if (!value) return false;
    return !(*value == "" || *value == "false" || *value == "0");
}

MTTString MTTExpVariable::EvaluateString(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return MTTString();
    std::unique_ptr<MTTString> value(iEnvironment->GetVariable(_name));
    if (!value) return MTTString();
    return std::move(*value);
}

MTTString MTTExpVariable::LateEvaluate(MTTEvaluationEnvironment*)
{
    return _name;
}
