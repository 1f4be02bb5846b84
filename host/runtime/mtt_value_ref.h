#ifndef MTT_VALUE_REF_H
#define MTT_VALUE_REF_H

// A value reference: the name part of `${name:path}`, which says what to read
// on the object that the path reaches, and how to transform it.
// Header-only, C++17, standard library only.
//
//   ref       = base { "|" transform }
//   base      = plain | quoted | "." | "@" word
//   transform = a name of mtt_transforms.h's table
//
// plain and quoted (mtt_name_syntax.h) name a member; "." is the object's own
// text; "@index", "@number", "@first", "@last" and "@count" are the object's
// position in the list that holds it. An empty text, or one that does not
// follow the grammar or names an unknown transform, reads as the empty text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "mtt_name_syntax.h"
#include "mtt_transforms.h"

namespace mtt_runtime {

class ValueRef {
public:
    enum Base {
        kInvalid,        // reads as the empty text, transforms not applied
        kMember,         // Name()
        kSelf,           // "."
        kIndex,          // "@index", from 0
        kNumber,         // "@number", from 1
        kFirst,          // "@first": "true" or "false"
        kLast,           // "@last": "true" or "false"
        kCount,          // "@count": the size of the list
        kUnknownDerived  // any other "@word": always missing
    };

    // The loop positions, by the word users write after "@".
    struct Derived {
        const char* word;
        Base base;
    };
    static constexpr Derived kDerived[] = {
        {"index", kIndex}, {"number", kNumber}, {"first", kFirst}, {"last", kLast}, {"count", kCount}};

    static ValueRef Parse(std::string_view iText)
    {
        ValueRef ref;
        const std::size_t n = iText.size();
        std::size_t p;
        if (n == 0) return ref;
        if (iText[0] == '"') {
            p = NameSyntax::ReadQuoted(iText, 0, ref._name);
            if (p == std::string_view::npos) return ref;
            ref._base = kMember;
            ref._quoted = true;
        } else if (iText[0] == '@') {
            p = 1;
            while (p < n && IsWordChar(iText[p])) ++p;
            if (p == 1) return ref;
            ref._base = DerivedBase(iText.substr(1, p - 1));
        } else {
            p = NameSyntax::PlainLength(iText, 0);
            if (p == 0) return ref;
            ref._name.assign(iText.data(), p);
            ref._base = ref._name == "." ? kSelf : kMember;
        }
        while (p < n) {
            if (iText[p] != '|') return ValueRef();
            const std::size_t start = ++p;
            while (p < n && IsWordChar(iText[p])) ++p;
            const Transform* transform = FindTransform(iText.substr(start, p - start));
            if (transform == nullptr) return ValueRef();
            ref._transforms.push_back(transform);
        }
        return ref;
    }

    Base GetBase() const { return _base; }
    bool IsDerived() const { return _base >= kIndex; }
    // The member's name, unquoted; empty for other bases.
    const std::string& Name() const { return _name; }
    // A quoted member is always a member, even when named "UserCode".
    bool IsQuoted() const { return _quoted; }

    // The text of a derived base for the element at iIndex of a list of
    // iCount elements.
    std::string DerivedText(std::size_t iIndex, std::size_t iCount) const
    {
        switch (_base) {
        case kIndex: return std::to_string(iIndex);
        case kNumber: return std::to_string(iIndex + 1);
        case kFirst: return iIndex == 0 ? "true" : "false";
        case kLast: return iIndex + 1 == iCount ? "true" : "false";
        case kCount: return std::to_string(iCount);
        default: return std::string();
        }
    }

    // iText through the transforms, left to right.
    std::string Apply(std::string iText) const
    {
        for (const Transform* transform : _transforms) iText = transform->apply(iText);
        return iText;
    }

private:
    static bool IsWordChar(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    }

    static Base DerivedBase(std::string_view iWord)
    {
        for (const Derived& derived : kDerived) {
            if (iWord == derived.word) return derived.base;
        }
        return kUnknownDerived;
    }

    Base _base = kInvalid;
    bool _quoted = false;
    std::string _name;
    std::vector<const Transform*> _transforms;
};

}  // namespace mtt_runtime

#endif
