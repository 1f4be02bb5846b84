#include "MTTEvaluationEnvironment.h"

#include "MTTAliasResolution.h"
#include "MTTDiagnostics.h"
#include "MTTEvaluationState.h"
#include "MTTIExpression.h"
#include "MTTLocalEnvironment.h"
#include "MTTMessages.h"
#include "MTTVariableEntry.h"
#include "MTTVariableTarget.h"

namespace {

void ReportReadOnlyAlias(const MTTString& iName)
{
    MTTPrintOut(MTTMessages::kReadOnlyAlias, iName.ConvertToChar());
}

}  // namespace

MTTEvaluationEnvironment::MTTEvaluationEnvironment(MTLIModelObject* rootModelObject)
    : _rootModelObject(rootModelObject), _lateEvaluator(nullptr)
{
    MTT_CHECK(NULL != rootModelObject, "NULL != rootModelObject");
    Create(rootModelObject);
}

MTTEvaluationEnvironment::MTTEvaluationEnvironment(MTLILateEvaluator* lateEvaluator)
    : _rootModelObject(nullptr), _lateEvaluator(lateEvaluator)
{
    MTT_CHECK(NULL != lateEvaluator, "NULL != lateEvaluator");
    Create(nullptr);
}

MTTEvaluationEnvironment::MTTEvaluationEnvironment(const MTTEvaluationEnvironment& iOther)
    : _state(iOther._state),
      _currentModelObject(iOther._currentModelObject),
      _rootModelObject(iOther._rootModelObject),
      _lateEvaluator(iOther._lateEvaluator),
      _ownsState(false),
      _resolving(nullptr),
      _callDepth(0),
      _levels(0),
      _callLevelBase(0)
{
}

MTTEvaluationEnvironment& MTTEvaluationEnvironment::operator=(const MTTEvaluationEnvironment& iOther)
{
    if (this == &iOther) return *this;
    _rootModelObject = iOther._rootModelObject;
    _lateEvaluator = iOther._lateEvaluator;
    // Assigning the same shared state back keeps ownership where it is.
    if (_state == iOther._state) return *this;
    Destroy();
    _state = iOther._state;
    _currentModelObject = iOther._currentModelObject;
    _ownsState = false;
    return *this;
}

MTTEvaluationEnvironment::~MTTEvaluationEnvironment()
{
    Destroy();
    _rootModelObject = nullptr;
    _lateEvaluator = nullptr;
}

void MTTEvaluationEnvironment::Create(MTLIModelObject* iRootScopeObject)
{
    _state = new MTTEvaluationState(iRootScopeObject);
    _currentModelObject = _state->CurrentModelObject();
    _ownsState = true;
    _resolving = nullptr;
    _callDepth = 0;
    _levels = 0;
    _callLevelBase = 0;
}

void MTTEvaluationEnvironment::Destroy()
{
    if (_ownsState) {
        ClearGlobals();
        delete _state;
    }
    _state = nullptr;
    _ownsState = false;
}

void MTTEvaluationEnvironment::ClearGlobals()
{
    _state->ClearVariables();
}

MTTIExpression* MTTEvaluationEnvironment::FindAlias(const MTTString& iName, int* oScopePosition) const
{
    *oScopePosition = 0;
    if (!_state->HasAliases()) return nullptr;
    int start = MTTAliasResolution::ResumeBelow(_resolving, iName, _state->ScopeCount()) - 1;
    for (int i = start; i >= 1; --i) {
        MTTIExpression* expression = nullptr;
        if (!_state->Scope(i).FindAlias(iName, &expression)) continue;
        *oScopePosition = i;
        return expression;
    }
    return nullptr;
}

void MTTEvaluationEnvironment::AddVariable(const MTTString& iName, const MTTString& iValue, MTTExpVariableType iType)
{
    MTTVariableTarget target(this, iName);
    if (target.ReadOnly()) {
        ReportReadOnlyAlias(target.Name());
    } else if (MTTVariableEntry* entry = target.Entry()) {
        entry->_value = iValue;  // the type stays
    } else {
        _state->InsertVariable(target.Name().ConvertToChar(), new MTTVariableEntry(iValue, iType));
    }
}

long MTTEvaluationEnvironment::SetVariable(const MTTString& iName, const MTTString& iValue)
{
    MTTVariableTarget target(this, iName);
    if (target.ReadOnly()) {
        ReportReadOnlyAlias(target.Name());
        return S_OK;
    }
    MTTVariableEntry* entry = target.Entry();
    // Through an alias, a missing variable is no failure: nothing is created.
    if (entry == nullptr) return target.Aliased() ? S_OK : E_FAIL;
    entry->_value = iValue;
    return S_OK;
}

MTTString* MTTEvaluationEnvironment::GetVariable(const MTTString& iName) const
{
    MTTAliasResolution alias(this, iName);
    if (alias.Expression() != nullptr) {
        return new MTTString(alias.Expression()->EvaluateString(const_cast<MTTEvaluationEnvironment*>(this)));
    }
    MTTVariableEntry* entry = _state->FindVariable(iName);
    return entry == nullptr ? nullptr : new MTTString(entry->_value);
}

MTTExpVariableType MTTEvaluationEnvironment::GetVariableType(const MTTString& iName) const
{
    MTTVariableEntry* entry = MTTVariableTarget(this, iName).Entry();
    return entry == nullptr ? MTTVarString : entry->_type;
}

void MTTEvaluationEnvironment::AddAlias(const MTTString& iName, MTTIExpression* iExpression)
{
    _state->AddAlias(iName, iExpression);
}

MTTIExpression* MTTEvaluationEnvironment::GetAlias(const MTTString& iName) const
{
    int position = 0;
    return FindAlias(iName, &position);
}

void MTTEvaluationEnvironment::AddFunction(MTTStatFunctionDecl* iDeclaration)
{
    _state->Scope(_state->ScopeCount()).AddFunction(iDeclaration);
}

MTTStatFunctionDecl* MTTEvaluationEnvironment::GetFunction(const MTTString& iName) const
{
    for (int i = _state->ScopeCount(); i >= 1; --i) {
        if (MTTStatFunctionDecl* declaration = _state->Scope(i).GetFunction(iName)) return declaration;
    }
    MTTPrintOut(MTTMessages::kFunctionNotFound, iName.ConvertToChar());
    return nullptr;
}

void MTTEvaluationEnvironment::PushScope(MTLIModelObject* iModelObject)
{
    _state->PushScope(iModelObject);
}

void MTTEvaluationEnvironment::PopScope()
{
    if (!MTT_CHECK(_state->ScopeCount() > 1, "size > 1")) return;
    _state->PopScope();
}
