#ifndef LEANMODELOBJECT_H
#define LEANMODELOBJECT_H

#include <vector>

#include "MTLIModelObject.h"
#include "MTTString.h"

// A model object made for speed: its members sit inside it, in a small
// table searched from the front (a class has two, an attribute two), which
// beats any hashing at that size, and a list keeps its elements in a
// vector. Text members are answered by GetValue only; GetProperty reaches
// object members (lists and records). Member names are string literals.
// It owns nothing: LeanModel owns them all.
class LeanModelObject : public MTLIModelObject {
public:
    explicit LeanModelObject(int iKind);

    void AddText(const char* iName, const MTTString& iText);
    void AddObject(const char* iName, MTLIModelObject* iObject);
    void AddElement(MTLIModelObject* iElement);

    int GetKind() override;
    MTLIModelObject* GetProperty(const MTTString& iName) override;
    int GetSize() override;
    MTLIModelObject* GetElement(int iIndex) override;
    MTTString GetValue(const char* iName) override;

private:
    struct Member {
        const char* name = "";
        MTTString text;                     // for a text member
        MTLIModelObject* object = nullptr;  // for an object member
    };
    static const int kMaxMembers = 2;

    int _kind;
    int _memberCount = 0;
    Member _members[kMaxMembers];
    std::vector<MTLIModelObject*> _elements;
};

#endif
