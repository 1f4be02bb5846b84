#ifndef MTTEVALUATIONSTATE_H
#define MTTEVALUATIONSTATE_H

#include <vector>

#include "MTTEvaluationEnvironment.h"
#include "MTTExpVariableType.h"
#include "MTTLocalEnvironment.h"
#include "MTTMap.h"

class MTLIModelObject;
class MTTIExpression;
class MTTString;
class MTTVariableEntry;

// What an environment and its copies share: the variable table and the
// scope stack, with the innermost scope's model object kept at hand (it is
// asked for by nearly every statement). Scopes are held by value and their
// room is kept when they are popped, so pushing one allocates nothing.
class MTTEvaluationState {
public:
    explicit MTTEvaluationState(MTLIModelObject* iRootScopeObject);
    ~MTTEvaluationState();
    MTTEvaluationState(const MTTEvaluationState&) = delete;
    MTTEvaluationState& operator=(const MTTEvaluationState&) = delete;

    static MTTEvaluationState& Of(const MTTEvaluationEnvironment* iEnvironment) { return *iEnvironment->_state; }

    // The variable of that name in the table (aliases are not looked at).
    MTTVariableEntry* FindVariable(const MTTString& iName) const;
    MTTVariableEntry* FindVariable(const char* iName) const;
    void InsertVariable(const char* iName, MTTVariableEntry* iEntry);
    void ClearVariables();

    int ScopeCount() const { return _scopeCount; }
    // iPosition from 1 (outermost) to ScopeCount() (innermost).
    MTTLocalEnvironment& Scope(int iPosition) { return _scopes[static_cast<size_t>(iPosition - 1)]; }
    const MTTLocalEnvironment& Scope(int iPosition) const { return _scopes[static_cast<size_t>(iPosition - 1)]; }
    void PushScope(MTLIModelObject* iModelObject)
    {
        _scopes.emplace_back(iModelObject);
        ++_scopeCount;
        _current = iModelObject;
    }
    void PopScope()
    {
        _aliasCount -= _scopes.back().AliasCount();
        _scopes.pop_back();
        --_scopeCount;
        _current = _scopes.back().GetModelObject();
    }
    MTLIModelObject* const* CurrentModelObject() const { return &_current; }

    // Aliases bound in all scopes: while there are none, looking a name up
    // needs no walk over the scopes.
    void AddAlias(const MTTString& iName, MTTIExpression* iExpression);
    bool HasAliases() const { return _aliasCount != 0; }

private:
    MTTMap _variables;  // name -> MTTVariableEntry, owned
    std::vector<MTTLocalEnvironment> _scopes;
    MTLIModelObject* _current;
    int _scopeCount;
    int _aliasCount;
};

#endif
