#include "LeanModelObject.h"

#include <cstdlib>

LeanModelObject::LeanModelObject(int iKind) : _kind(iKind) {}

void LeanModelObject::AddText(const char* iName, const MTTString& iText)
{
    if (_memberCount == kMaxMembers) std::abort();
    _members[_memberCount].name = iName;
    _members[_memberCount++].text = iText;
}

void LeanModelObject::AddObject(const char* iName, MTLIModelObject* iObject)
{
    if (_memberCount == kMaxMembers) std::abort();
    _members[_memberCount].name = iName;
    _members[_memberCount++].object = iObject;
}

void LeanModelObject::AddElement(MTLIModelObject* iElement)
{
    _elements.push_back(iElement);
}

int LeanModelObject::GetKind()
{
    return _kind;
}

MTLIModelObject* LeanModelObject::GetProperty(const MTTString& iName)
{
    for (int i = 0; i < _memberCount; ++i) {
        const Member& member = _members[i];
        if (member.object != nullptr && iName == member.name) return member.object;
    }
    return nullptr;
}

int LeanModelObject::GetSize()
{
    return static_cast<int>(_elements.size());
}

MTLIModelObject* LeanModelObject::GetElement(int iIndex)
{
    if (iIndex < 0 || static_cast<size_t>(iIndex) >= _elements.size()) return nullptr;
    return _elements[static_cast<size_t>(iIndex)];
}

namespace {

// Member names are a few bytes long: compared in place, without a call.
bool SameName(const char* iA, const char* iB)
{
    while (*iA != '\0' && *iA == *iB) {
        ++iA;
        ++iB;
    }
    return *iA == *iB;
}

}  // namespace

MTTString LeanModelObject::GetValue(const char* iName)
{
    if (iName == nullptr) return MTTString();
    for (int i = 0; i < _memberCount; ++i) {
        const Member& member = _members[i];
        if (member.object == nullptr && SameName(member.name, iName)) return member.text;
    }
    return MTTString();
}
