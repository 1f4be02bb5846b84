#include "MTTEvaluationEnvironment.h"

#include "MTTAliasResolution.h"
#include "MTTDiagnostics.h"
#include "MTTExpVariable.h"
#include "MTTListOfPointers.h"
#include "MTTLocalEnvironment.h"
#include "MTTMap.h"
#include "MTTMapIterator.h"
#include "MTTVariableEntry.h"

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
    : _globals(iOther._globals),
      _scopeStack(iOther._scopeStack),
      _rootModelObject(iOther._rootModelObject),
      _lateEvaluator(iOther._lateEvaluator),
      _ownsState(false),
      _resolving(nullptr),
      _callDepth(0),
      _callStackBase(nullptr)
{
}

MTTEvaluationEnvironment& MTTEvaluationEnvironment::operator=(const MTTEvaluationEnvironment& iOther)
{
    if (this == &iOther) return *this;
    // Assigning the same shared state back keeps ownership where it is.
    if (_globals == iOther._globals && _scopeStack == iOther._scopeStack) {
        _rootModelObject = iOther._rootModelObject;
        _lateEvaluator = iOther._lateEvaluator;
        return *this;
    }
    Destroy();
    _globals = iOther._globals;
    _scopeStack = iOther._scopeStack;
    _rootModelObject = iOther._rootModelObject;
    _lateEvaluator = iOther._lateEvaluator;
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
    _globals = new MTTMap();
    _scopeStack = new MTTListOfPointers();
    _scopeStack->Append(new MTTLocalEnvironment(iRootScopeObject));
    _ownsState = true;
    _resolving = nullptr;
    _callDepth = 0;
    _callStackBase = nullptr;
}

void MTTEvaluationEnvironment::Destroy()
{
    if (_ownsState) {
        if (MTT_CHECK(NULL != _globals, "NULL != _globals")) {
            ClearGlobals();
            delete _globals;
        }
        if (MTT_CHECK(NULL != _scopeStack, "NULL != _scopeStack")) {
            for (int i = 1; i <= _scopeStack->Size(); ++i) {
                delete static_cast<MTTLocalEnvironment*>(_scopeStack->GetItem(i));
            }
            delete _scopeStack;
        }
    }
    _globals = nullptr;
    _scopeStack = nullptr;
    _ownsState = false;
}

void MTTEvaluationEnvironment::ClearGlobals()
{
    if (!MTT_CHECK(NULL != _globals, "NULL != _globals")) return;
    MTTMapIterator* it = _globals->getIterator();
    if (MTT_CHECK(NULL != it, "NULL != it")) {
        while (it->Next()) delete static_cast<MTTVariableEntry*>(it->Value());
        delete it;
    }
    _globals->clear();
}

MTTIExpression* MTTEvaluationEnvironment::FindAlias(const MTTString& iName, int* oScopePosition) const
{
    *oScopePosition = 0;
    if (!MTT_CHECK(NULL != _scopeStack, "NULL != _scopeStack")) return nullptr;
    int start = MTTAliasResolution::ResumeBelow(_resolving, iName, _scopeStack->Size()) - 1;
    for (int i = start; i >= 1; --i) {
        const MTTLocalEnvironment* scope = static_cast<const MTTLocalEnvironment*>(_scopeStack->GetItem(i));
        if (!MTT_CHECK(NULL != scope, "NULL != scope")) continue;
        MTTIExpression* expression = nullptr;
        if (!scope->FindAlias(iName, &expression)) continue;
        *oScopePosition = i;
        return expression;
    }
    return nullptr;
}

void MTTEvaluationEnvironment::AddVariable(const MTTString& iName, const MTTString& iValue, MTTExpVariableType iType)
{
    MTTAliasResolution alias(this, iName);
    if (alias.Expression() != nullptr) {
        if (MTTExpVariable* variable = alias.Variable()) {
            AddVariable(variable->Name(), iValue, iType);
        } else {
            MTTPrintOut("ERROR: trying to write in an alias to a read only expression under name \"%s\".\n",
                        iName.ConvertToChar());
        }
        return;
    }
    if (!MTT_CHECK(NULL != _globals, "NULL != _globals")) return;
    void* found = nullptr;
    if (_globals->search(iName.ConvertToChar(), &found)) {
        if (!MTT_CHECK(NULL != found, "tag")) return;
        static_cast<MTTVariableEntry*>(found)->_value = iValue;
        return;
    }
    _globals->insert(iName.ConvertToChar(), new MTTVariableEntry(iValue, iType));
}

long MTTEvaluationEnvironment::SetVariable(const MTTString& iName, const MTTString& iValue)
{
    MTTAliasResolution alias(this, iName);
    if (alias.Expression() != nullptr) {
        if (MTTExpVariable* variable = alias.Variable()) {
            SetVariable(variable->Name(), iValue);
        } else {
            MTTPrintOut("ERROR: trying to write in an alias to a read only expression under name \"%s\".\n",
                        iName.ConvertToChar());
        }
        return S_OK;
    }
    if (!MTT_CHECK(NULL != _globals, "NULL != _globals")) return E_FAIL;
    void* found = nullptr;
    if (!_globals->search(iName.ConvertToChar(), &found)) return E_FAIL;
    if (!MTT_CHECK(NULL != found, "tag")) return E_FAIL;
    static_cast<MTTVariableEntry*>(found)->_value = iValue;
    return S_OK;
}

MTTString* MTTEvaluationEnvironment::GetVariable(const MTTString& iName) const
{
    MTTAliasResolution alias(this, iName);
    if (alias.Expression() != nullptr) {
        return new MTTString(alias.Expression()->EvaluateString(const_cast<MTTEvaluationEnvironment*>(this)));
    }
    if (!MTT_CHECK(NULL != _globals, "NULL != _globals")) return nullptr;
    void* found = nullptr;
    if (!_globals->search(iName.ConvertToChar(), &found) || found == nullptr) return nullptr;
    return new MTTString(static_cast<MTTVariableEntry*>(found)->_value);
}

MTTExpVariableType MTTEvaluationEnvironment::GetVariableType(const MTTString& iName) const
{
    MTTAliasResolution alias(this, iName);
    if (alias.Expression() != nullptr) {
        if (MTTExpVariable* variable = alias.Variable()) return GetVariableType(variable->Name());
        return MTTVarString;
    }
    if (!MTT_CHECK(NULL != _globals, "NULL != _globals")) return MTTVarString;
    void* found = nullptr;
    if (!_globals->search(iName.ConvertToChar(), &found) || found == nullptr) return MTTVarString;
    return static_cast<MTTVariableEntry*>(found)->_type;
}

static MTTLocalEnvironment* InnermostScope(MTTListOfPointers* iStack)
{
    if (!MTT_CHECK(NULL != iStack, "NULL != _scopeStack")) return nullptr;
    if (!MTT_CHECK(iStack->Size() > 0, "size > 0")) return nullptr;
    MTTLocalEnvironment* scope = static_cast<MTTLocalEnvironment*>(iStack->GetItem(iStack->Size()));
    if (!MTT_CHECK(NULL != scope, "NULL != scope")) return nullptr;
    return scope;
}

void MTTEvaluationEnvironment::AddAlias(const MTTString& iName, MTTIExpression* iExpression)
{
    if (MTTLocalEnvironment* scope = InnermostScope(_scopeStack)) scope->AddAlias(iName, iExpression);
}

MTTIExpression* MTTEvaluationEnvironment::GetAlias(const MTTString& iName) const
{
    int position = 0;
    return FindAlias(iName, &position);
}

void MTTEvaluationEnvironment::AddFunction(MTTStatFunctionDecl* iDeclaration)
{
    if (MTTLocalEnvironment* scope = InnermostScope(_scopeStack)) scope->AddFunction(iDeclaration);
}

MTTStatFunctionDecl* MTTEvaluationEnvironment::GetFunction(const MTTString& iName) const
{
    if (MTT_CHECK(NULL != _scopeStack, "NULL != _scopeStack")) {
        for (int i = _scopeStack->Size(); i >= 1; --i) {
            const MTTLocalEnvironment* scope = static_cast<const MTTLocalEnvironment*>(_scopeStack->GetItem(i));
            if (!MTT_CHECK(NULL != scope, "NULL != scope")) continue;
            if (MTTStatFunctionDecl* declaration = scope->GetFunction(iName)) return declaration;
        }
    }
    MTTPrintOut("ERROR: Function \"%s\" not found.\n", iName.ConvertToChar());
    return nullptr;
}

void MTTEvaluationEnvironment::PushScope(MTLIModelObject* iModelObject)
{
    if (!MTT_CHECK(NULL != _scopeStack, "NULL != _scopeStack")) return;
    _scopeStack->Append(new MTTLocalEnvironment(iModelObject));
}

void MTTEvaluationEnvironment::PopScope()
{
    if (!MTT_CHECK(NULL != _scopeStack, "NULL != _scopeStack")) return;
    if (!MTT_CHECK(_scopeStack->Size() > 1, "size > 1")) return;
    delete static_cast<MTTLocalEnvironment*>(_scopeStack->GetItem(_scopeStack->Size()));
    _scopeStack->RemoveLast();
}

MTLIModelObject* MTTEvaluationEnvironment::GetCurrentModelObject() const
{
    if (!MTT_CHECK(NULL != _scopeStack, "NULL != _scopeStack")) return nullptr;
    if (!MTT_CHECK(_scopeStack->Size() >= 1, "size >= 1")) return nullptr;
    const MTTLocalEnvironment* lastScope =
        static_cast<const MTTLocalEnvironment*>(_scopeStack->GetItem(_scopeStack->Size()));
    if (!MTT_CHECK(NULL != lastScope, "NULL != lastScope")) return nullptr;
    return lastScope->GetModelObject();
}
