#include "MTTExpVariable.h"

#include "MTTAliasResolution.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationState.h"
#include "MTTNodeSupport.h"
#include "MTTVariableEntry.h"

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
    const MTTVariableEntry* entry = MTTEvaluationState::Of(iEnvironment).FindVariable(_name);
    if (entry == nullptr) return false;
    const MTTString& value = entry->_value;
    return !(value.IsEmpty() || value == "false" || value == "0");
}

MTTString MTTExpVariable::EvaluateString(MTTEvaluationEnvironment* iEnvironment)
{
    MTTString value;
    const MTTString* text = Lend(iEnvironment, value);
    if (text != &value) value = *text;
    return value;
}

const MTTString* MTTExpVariable::Lend(MTTEvaluationEnvironment* iEnvironment, MTTString& ioSpare)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return &ioSpare;
    {
        MTTAliasResolution alias(iEnvironment, _name);
        if (alias.Expression() != nullptr) {
            ioSpare = alias.Expression()->EvaluateString(iEnvironment);
            return &ioSpare;
        }
    }
    MTTVariableEntry* entry = MTTEvaluationState::Of(iEnvironment).FindVariable(_name);
    return entry != nullptr ? &entry->_value : &ioSpare;
}

MTTString MTTExpVariable::LateEvaluate(MTTEvaluationEnvironment*)
{
    return _name;
}
