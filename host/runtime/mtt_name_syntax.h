#ifndef MTT_NAME_SYNTAX_H
#define MTT_NAME_SYNTAX_H

// The two ways a template names a member, shared by value references
// (mtt_value_ref.h) and path elements (mtt_path_element.h). Header-only,
// C++17, standard library only.
//
//   plain  = one or more of: letter, digit, "_", "-", ".", byte >= 0x80
//   quoted = '"' { any byte but '"' and '\' | '\"' | '\\' } '"'

#include <cstddef>
#include <string>
#include <string_view>

namespace mtt_runtime {

class NameSyntax {
public:
    static bool IsPlainChar(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '.' || static_cast<unsigned char>(c) >= 0x80;
    }

    // Length of the run of plain characters that starts at iAt.
    static std::size_t PlainLength(std::string_view iText, std::size_t iAt)
    {
        std::size_t end = iAt;
        while (end < iText.size() && IsPlainChar(iText[end])) ++end;
        return end - iAt;
    }

    // Whether all of iText is one plain name other than "." (which names the
    // object itself): the fast path of every lookup.
    static bool IsPlain(std::string_view iText)
    {
        return !iText.empty() && PlainLength(iText, 0) == iText.size() && iText != ".";
    }

    // Reads the quoted name that starts at iAt (on its '"') into oName;
    // returns the position after its closing '"', or npos when the quotes do
    // not close or hold another escape.
    static std::size_t ReadQuoted(std::string_view iText, std::size_t iAt, std::string& oName)
    {
        oName.clear();
        for (std::size_t p = iAt + 1; p < iText.size(); ++p) {
            const char c = iText[p];
            if (c == '"') return p + 1;
            if (c == '\\') {
                const char next = p + 1 < iText.size() ? iText[p + 1] : '\0';
                if (next != '"' && next != '\\') return std::string_view::npos;
                ++p;
            }
            oName += iText[p];
        }
        return std::string_view::npos;
    }
};

}  // namespace mtt_runtime

#endif
