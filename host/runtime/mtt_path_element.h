#ifndef MTT_PATH_ELEMENT_H
#define MTT_PATH_ELEMENT_H

// One element of a property path (`${name:a/"b c"/../0}`): what the model's
// GetProperty receives, and what each "/"-separated part of a late path
// means. Header-only, C++17, standard library only.
//
//   plain or quoted  a member of an object (quoted: with any characters, and
//                    never one of the meanings below)
//   ".."             the enclosing object: the nearest ancestor that is not a
//                    list; none from the root
//   digits           on a list, the element at that index (no leading zero);
//                    on an object, the member of that name
//   UserCode         on an object, its user code (a scalar, never missing)
//   "?" or "*" ...   a test or a selection (mtt_value_ref.h): always the
//                    last element, it runs to the end of a late path
//
// Anything else ("", ".", other characters, unclosed quotes) reaches nothing.

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include "mtt_name_syntax.h"

namespace mtt_runtime {

class PathElement {
public:
    enum Kind { kInvalid, kMember, kParent, kIndex, kUserCode, kTest, kSelection };

    // No allocation unless iText is quoted. Keeps a view of iText when it
    // is not: iText must outlive the element.
    static PathElement Parse(std::string_view iText)
    {
        PathElement element;
        if (!iText.empty() && (iText[0] == '?' || iText[0] == '*')) {
            element._kind = iText[0] == '?' ? kTest : kSelection;
            element._name = iText;
            return element;
        }
        if (!iText.empty() && iText[0] == '"') {
            if (NameSyntax::ReadQuoted(iText, 0, element._unquoted) == iText.size()) {
                element._kind = kMember;
                element._quoted = true;
            }
            return element;
        }
        if (!NameSyntax::IsPlain(iText)) return element;
        element._name = iText;
        if (iText == "..") {
            element._kind = kParent;
        } else if (iText == "UserCode") {
            element._kind = kUserCode;
        } else if (IsIndex(iText, element._index)) {
            element._kind = kIndex;
        } else {
            element._kind = kMember;
        }
        return element;
    }

    // Where the element that starts at iStart of the late path iPath ends:
    // at the next "/" outside quotes, or at the end.
    static std::size_t End(std::string_view iPath, std::size_t iStart)
    {
        if (iStart < iPath.size() && (iPath[iStart] == '?' || iPath[iStart] == '*')) return iPath.size();
        bool quoted = false;
        for (std::size_t p = iStart; p < iPath.size(); ++p) {
            const char c = iPath[p];
            if (quoted && c == '\\') {
                ++p;
            } else if (c == '"') {
                quoted = !quoted;
            } else if (c == '/' && !quoted) {
                return p;
            }
        }
        return iPath.size();
    }

    Kind GetKind() const { return _kind; }
    // The member's name (unquoted), also for an index (its digits), for
    // UserCode, and the whole text of a test or a selection; empty otherwise.
    std::string_view Name() const { return _quoted ? std::string_view(_unquoted) : _name; }
    std::size_t Index() const { return _index; }

private:
    // Decimal digits without a leading zero; values too large for size_t
    // saturate (and then reach no element).
    static bool IsIndex(std::string_view iText, std::size_t& oIndex)
    {
        if (iText.size() > 1 && iText[0] == '0') return false;
        oIndex = 0;
        for (char c : iText) {
            if (c < '0' || c > '9') return false;
            const std::size_t digit = static_cast<std::size_t>(c - '0');
            const std::size_t max = std::numeric_limits<std::size_t>::max();
            oIndex = oIndex > (max - digit) / 10 ? max : oIndex * 10 + digit;
        }
        return true;
    }

    Kind _kind = kInvalid;
    bool _quoted = false;
    std::size_t _index = 0;
    std::string_view _name;
    std::string _unquoted;
};

}  // namespace mtt_runtime

#endif
