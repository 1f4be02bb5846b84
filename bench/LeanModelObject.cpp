#include "LeanModelObject.h"

#include <cstring>

LeanModelObject::LeanModelObject(int iKind) : _kind(iKind) {}

void LeanModelObject::AddText(const char* iName, const MTTString& iText)
{
    Member member;
    member.name = iName;
    member.text = iText;
    _members.push_back(std::move(member));
}

void LeanModelObject::AddObject(const char* iName, MTLIModelObject* iObject)
{
    Member member;
    member.name = iName;
    member.object = iObject;
    _members.push_back(std::move(member));
}

void LeanModelObject::AddElement(MTLIModelObject* iElement) { _elements.push_back(iElement); }

int LeanModelObject::GetKind() { return _kind; }

MTLIModelObject* LeanModelObject::GetProperty(const MTTString& iName)
{
    for (const Member& member : _members) {
        if (member.object != nullptr && member.name == iName) return member.object;
    }
    return nullptr;
}

int LeanModelObject::GetSize() { return static_cast<int>(_elements.size()); }

MTLIModelObject* LeanModelObject::GetElement(int iIndex)
{
    if (iIndex < 0 || static_cast<size_t>(iIndex) >= _elements.size()) return nullptr;
    return _elements[static_cast<size_t>(iIndex)];
}

MTTString LeanModelObject::GetValue(const char* iName)
{
    if (iName == nullptr) return MTTString();
    for (const Member& member : _members) {
        if (member.object == nullptr && std::strcmp(member.name.ConvertToChar(), iName) == 0) return member.text;
    }
    return MTTString();
}
