#ifndef MTTEVALUATIONENVIRONMENT_H
#define MTTEVALUATIONENVIRONMENT_H

#include "MTTExpVariableType.h"
#include "MTTExport.h"
#include "MTTResult.h"
#include "MTTString.h"

class MTLIModelObject;
class MTLILateEvaluator;
class MTTIExpression;
class MTTStatFunctionDecl;
class MTTAliasResolution;
class MTTCallGuard;
class MTTEvaluationLevel;
class MTTEvaluationState;

// The state of one evaluation: the template's variables (one table for the
// whole evaluation), a stack of scopes each with a current model object,
// aliases and functions, and the root model object or the late evaluator.
// It borrows model objects, the late evaluator, aliased expressions and
// function declarations: all of them must outlive it.
//
// Aliases. A name bound to a variable expression is writable: writes and
// type queries go on with the variable's name. Any other aliased
// expression is read-only. While an alias is being resolved, a lookup that
// meets that same alias again passes it by and goes on to the outer scopes
// and then to the variable table. So a parameter x bound to the caller's
// variable x reads and writes the caller's x, and a chain of aliases that
// leads back to itself ends at the variable table instead of recursing.
//
// Copies. A copy (copy constructor or assignment) shares the variable
// table and the scope stack of its source but does not own them: the
// source deletes them, so nothing is deleted twice. A copy must not outlive
// its source. Assigning to an environment first releases what it owned.
//
// Threads: an environment, and its copies, serve one thread at a time.
class MTT_EXPORT MTTEvaluationEnvironment {
public:
    explicit MTTEvaluationEnvironment(MTLIModelObject* rootModelObject);
    explicit MTTEvaluationEnvironment(MTLILateEvaluator* lateEvaluator);
    MTTEvaluationEnvironment(const MTTEvaluationEnvironment& iOther);
    MTTEvaluationEnvironment& operator=(const MTTEvaluationEnvironment& iOther);
    virtual ~MTTEvaluationEnvironment();

    // Creates the variable, or replaces the value of an existing one (whose
    // type then stays as it was).
    void AddVariable(const MTTString& iName, const MTTString& iValue, MTTExpVariableType iType);
    // Replaces the value of an existing variable; E_FAIL when there is none.
    long SetVariable(const MTTString& iName, const MTTString& iValue);
    // A new string the caller deletes, or null when the name is unknown.
    MTTString* GetVariable(const MTTString& iName) const;
    // MTTVarString for an unknown name.
    MTTExpVariableType GetVariableType(const MTTString& iName) const;

    // Binds iName in the innermost scope, replacing a binding of the same
    // name there; the expression is borrowed.
    void AddAlias(const MTTString& iName, MTTIExpression* iExpression);
    // Innermost binding first; null when no scope binds the name.
    MTTIExpression* GetAlias(const MTTString& iName) const;

    void AddFunction(MTTStatFunctionDecl* iDeclaration);
    // Innermost scope first; reports and returns null when unknown.
    MTTStatFunctionDecl* GetFunction(const MTTString& iName) const;

    void PushScope(MTLIModelObject* iModelObject);
    // The outermost scope is never popped.
    void PopScope();
    // The innermost scope's model object (null included).
    MTLIModelObject* GetCurrentModelObject() const { return *_currentModelObject; }
    MTLIModelObject* GetRootModelObject() const { return _rootModelObject; }
    MTLILateEvaluator* GetLateEvaluator() const { return _lateEvaluator; }

private:
    friend class MTTAliasResolution;
    friend class MTTCallGuard;
    friend class MTTEvaluationLevel;
    friend class MTTEvaluationState;

    void Create(MTLIModelObject* iRootScopeObject);
    void Destroy();
    void ClearGlobals();
    MTTIExpression* FindAlias(const MTTString& iName, int* oScopePosition) const;

    // The variable table and the scope stack, shared with copies.
    MTTEvaluationState* _state;
    // Where the state keeps the innermost scope's model object.
    MTLIModelObject* const* _currentModelObject;
    MTLIModelObject* _rootModelObject;
    MTLILateEvaluator* _lateEvaluator;
    bool _ownsState;
    // Innermost alias being resolved (a chain of stack objects).
    mutable const MTTAliasResolution* _resolving;
    // Nesting of function calls.
    int _callDepth;
    // Nesting of statements (lists, ifs, loops, call bodies), and its value
    // when the outermost call began.
    int _levels;
    int _callLevelBase;
};

#endif
