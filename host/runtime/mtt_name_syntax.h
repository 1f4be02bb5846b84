#ifndef MTT_NAME_SYNTAX_H
#define MTT_NAME_SYNTAX_H

// The two ways a template names a member, shared by value references
// (mtt_value_ref.h) and path elements (mtt_path_element.h), and the strings
// of transform arguments and expressions. Header-only, C++17, standard
// library only.
//
//   plain  = one or more of: letter, digit, "_", "-", ".", byte >= 0x80
//   quoted = '"' { any byte but '"' and '\' | '\"' | '\\' } '"'
//   string = '"' { any byte but '"', '\' and a line end
//                  | '\"' | '\\' | '\n' | '\t' } '"'

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

    // A string, as directives and transform arguments write it: quotes
    // around any bytes but a line end, with the escapes \" \\ \n \t. Reads
    // the one at iAt (on its '"') into oText; returns the position after it,
    // or npos when it does not close or holds another escape.
    static std::size_t ReadString(std::string_view iText, std::size_t iAt, std::string& oText)
    {
        oText.clear();
        for (std::size_t p = iAt + 1; p < iText.size(); ++p) {
            const char c = iText[p];
            if (c == '"') return p + 1;
            if (c == '\n') break;
            if (c != '\\') {
                oText += c;
                continue;
            }
            const char next = p + 1 < iText.size() ? iText[++p] : '\0';
            switch (next) {
            case '"':
            case '\\': oText += next; break;
            case 'n': oText += '\n'; break;
            case 't': oText += '\t'; break;
            default: return std::string_view::npos;
            }
        }
        return std::string_view::npos;
    }

    // iText as such a string.
    static std::string WriteString(std::string_view iText)
    {
        std::string out = "\"";
        for (char c : iText) {
            switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
            }
        }
        return out + "\"";
    }
};

}  // namespace mtt_runtime

#endif
