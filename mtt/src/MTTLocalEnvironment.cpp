#include "MTTLocalEnvironment.h"

#include "MTTBlockPool.h"

#include "MTTMap.h"
#include "MTTStatFunctionDecl.h"
#include "MTTString.h"

MTTLocalEnvironment::MTTLocalEnvironment(MTLIModelObject* iModelObject)
    : _modelObject(iModelObject), _aliases(nullptr)
{
}

MTTLocalEnvironment::~MTTLocalEnvironment()
{
    if (_aliases != nullptr) {
        _aliases->clear();
        delete _aliases;
        _aliases = nullptr;
    }
    _functions.RemoveAll();
    _modelObject = nullptr;
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

void MTTLocalEnvironment::AddFunction(MTTStatFunctionDecl* iDeclaration)
{
    _functions.Append(iDeclaration);
}

MTTStatFunctionDecl* MTTLocalEnvironment::GetFunction(const MTTString& iName) const
{
    for (int i = 1; i <= _functions.Size(); ++i) {
        MTTStatFunctionDecl* declaration = static_cast<MTTStatFunctionDecl*>(_functions.GetItem(i));
        if (declaration != nullptr && declaration->Name() == iName) return declaration;
    }
    return nullptr;
}

void* MTTLocalEnvironment::operator new(size_t iSize)
{
    return MTTBlockPool::Allocate(iSize);
}

void MTTLocalEnvironment::operator delete(void* iBlock, size_t iSize)
{
    MTTBlockPool::Release(iBlock, iSize);
}
