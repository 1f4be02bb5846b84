#ifndef MTTLOCALENVIRONMENT_H
#define MTTLOCALENVIRONMENT_H

#include <cstddef>

#include "MTTListOfPointers.h"

class MTLIModelObject;
class MTTIExpression;
class MTTMap;
class MTTStatFunctionDecl;
class MTTString;

// One scope of an evaluation: its current model object, the functions
// declared while it was innermost, and its aliases. It borrows all of them.
// The alias table is created with the first alias: most scopes (one per
// loop element) never bind one.
class MTTLocalEnvironment {
public:
    // Evaluation makes these by the million: they come from a block pool.
    static void* operator new(size_t iSize);
    static void operator delete(void* iBlock, size_t iSize);

    explicit MTTLocalEnvironment(MTLIModelObject* iModelObject);
    virtual ~MTTLocalEnvironment();

    MTLIModelObject* GetModelObject() const { return _modelObject; }
    // Binds iName, replacing a binding of the same name in this scope.
    void AddAlias(const MTTString& iName, MTTIExpression* iExpression);
    // True when this scope binds iName; the expression goes to *oExpression.
    bool FindAlias(const MTTString& iName, MTTIExpression** oExpression) const;
    MTTIExpression* GetAlias(const MTTString& iName) const;
    void AddFunction(MTTStatFunctionDecl* iDeclaration);
    // The first declaration of that name, in order of declaration, or null.
    MTTStatFunctionDecl* GetFunction(const MTTString& iName) const;

private:
    MTTLocalEnvironment(const MTTLocalEnvironment&) = delete;
    MTTLocalEnvironment& operator=(const MTTLocalEnvironment&) = delete;

    MTLIModelObject* _modelObject;
    MTTListOfPointers _functions;
    MTTMap* _aliases;
};

#endif
