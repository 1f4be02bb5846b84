#include "MTTLocalEnvironment.h"

#include "MTTMap.h"
#include "MTTStatFunctionDecl.h"
#include "MTTString.h"

MTTLocalEnvironment::MTTLocalEnvironment(MTTLocalEnvironment&& iOther) noexcept
    : _modelObject(iOther._modelObject), _functions(iOther._functions), _aliases(iOther._aliases)
{
    iOther._functions = nullptr;
    iOther._aliases = nullptr;
}

MTTLocalEnvironment& MTTLocalEnvironment::operator=(MTTLocalEnvironment&& iOther) noexcept
{
    if (this == &iOther) return *this;
    Release();
    _modelObject = iOther._modelObject;
    _functions = iOther._functions;
    _aliases = iOther._aliases;
    iOther._functions = nullptr;
    iOther._aliases = nullptr;
    return *this;
}

void MTTLocalEnvironment::Release()
{
    delete _aliases;
    _aliases = nullptr;
    delete _functions;
    _functions = nullptr;
}

void MTTLocalEnvironment::AddAlias(const MTTString& iName, MTTIExpression* iExpression)
{
    if (_aliases == nullptr) _aliases = new MTTMap();
    // insert replaces the value of a name already bound in this scope.
    _aliases->insert(iName.ConvertToChar(), iExpression);
}

bool MTTLocalEnvironment::FindAlias(const MTTString& iName, MTTIExpression** oExpression) const
{
    if (_aliases == nullptr) return false;
    void* value = nullptr;
    if (!_aliases->search(iName.ConvertToChar(), &value)) return false;
    *oExpression = static_cast<MTTIExpression*>(value);
    return true;
}

MTTIExpression* MTTLocalEnvironment::GetAlias(const MTTString& iName) const
{
    MTTIExpression* expression = nullptr;
    FindAlias(iName, &expression);
    return expression;
}

int MTTLocalEnvironment::AliasesBound() const
{
    return _aliases->size();
}

void MTTLocalEnvironment::AddFunction(MTTStatFunctionDecl* iDeclaration)
{
    if (iDeclaration == nullptr) return;
    if (_functions == nullptr) _functions = new MTTMap();
    const char* name = iDeclaration->Name().ConvertToChar();
    if (!_functions->search(name, nullptr)) _functions->insert(name, iDeclaration);
}

MTTStatFunctionDecl* MTTLocalEnvironment::GetFunction(const MTTString& iName) const
{
    if (_functions == nullptr) return nullptr;
    void* declaration = nullptr;
    if (!_functions->search(iName.ConvertToChar(), &declaration)) return nullptr;
    return static_cast<MTTStatFunctionDecl*>(declaration);
}
