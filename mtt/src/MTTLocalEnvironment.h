#ifndef MTTLOCALENVIRONMENT_H
#define MTTLOCALENVIRONMENT_H

class MTLIModelObject;
class MTTIExpression;
class MTTMap;
class MTTStatFunctionDecl;
class MTTString;

// One scope of an evaluation: its current model object, the functions
// declared while it was innermost, and its aliases. It borrows all of them.
// Scopes live by value in the environment's scope stack, so entering a loop
// element allocates nothing: the two tables are created with their first
// entry, and most scopes (one per loop element) never get one.
class MTTLocalEnvironment {
public:
    explicit MTTLocalEnvironment(MTLIModelObject* iModelObject)
        : _modelObject(iModelObject), _functions(nullptr), _aliases(nullptr)
    {
    }
    MTTLocalEnvironment(MTTLocalEnvironment&& iOther) noexcept;
    MTTLocalEnvironment& operator=(MTTLocalEnvironment&& iOther) noexcept;
    ~MTTLocalEnvironment()
    {
        if (_functions != nullptr || _aliases != nullptr) Release();
    }

    MTLIModelObject* GetModelObject() const { return _modelObject; }
    // Binds iName, replacing a binding of the same name in this scope.
    void AddAlias(const MTTString& iName, MTTIExpression* iExpression);
    // True when this scope binds iName; the expression goes to *oExpression.
    bool FindAlias(const MTTString& iName, MTTIExpression** oExpression) const;
    MTTIExpression* GetAlias(const MTTString& iName) const;
    int AliasCount() const { return _aliases == nullptr ? 0 : AliasesBound(); }
    // Null is ignored; of two declarations of one name the first stays.
    void AddFunction(MTTStatFunctionDecl* iDeclaration);
    // The first declaration of that name, in order of declaration, or null.
    MTTStatFunctionDecl* GetFunction(const MTTString& iName) const;

private:
    MTTLocalEnvironment(const MTTLocalEnvironment&) = delete;
    MTTLocalEnvironment& operator=(const MTTLocalEnvironment&) = delete;
    void Release();
    int AliasesBound() const;

    MTLIModelObject* _modelObject;
    MTTMap* _functions;  // name -> first declaration of that name
    MTTMap* _aliases;    // name -> aliased expression
};

#endif
