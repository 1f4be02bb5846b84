#include "MTTEvaluationState.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTMapIterator.h"
#include "MTTString.h"
#include "MTTVariableEntry.h"

MTTEvaluationState::MTTEvaluationState(MTLIModelObject* iRootScopeObject)
    : _current(nullptr), _scopeCount(0), _aliasCount(0)
{
    PushScope(iRootScopeObject);
}

MTTEvaluationState::~MTTEvaluationState()
{
    ClearVariables();
}

MTTVariableEntry* MTTEvaluationState::FindVariable(const MTTString& iName) const
{
    return FindVariable(iName.ConvertToChar());
}

MTTVariableEntry* MTTEvaluationState::FindVariable(const char* iName) const
{
    void* found = nullptr;
    if (!_variables.search(iName, &found)) return nullptr;
    return static_cast<MTTVariableEntry*>(found);
}

void MTTEvaluationState::InsertVariable(const char* iName, MTTVariableEntry* iEntry)
{
    _variables.insert(iName, iEntry);
}

void MTTEvaluationState::ClearVariables()
{
    MTTMapIterator it(&_variables);
    while (it.Next()) delete static_cast<MTTVariableEntry*>(it.Value());
    _variables.clear();
}

void MTTEvaluationState::AddAlias(const MTTString& iName, MTTIExpression* iExpression)
{
    MTTLocalEnvironment& scope = _scopes.back();
    int before = scope.AliasCount();
    scope.AddAlias(iName, iExpression);
    _aliasCount += scope.AliasCount() - before;
}
