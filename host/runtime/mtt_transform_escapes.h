#ifndef MTT_TRANSFORM_ESCAPES_H
#define MTT_TRANSFORM_ESCAPES_H

// The escaping transforms of mtt_transforms.h. Header-only, C++17, standard
// library only.

#include <cstddef>
#include <string>
#include <string_view>

namespace mtt_runtime {

// Escapes for target languages. The literal escapes (c, java, json, sql)
// give the text to write between the target's quotes, the xml ones text to
// write as it is, and shell a complete word, with its quotes when it needs
// them.
class TransformEscapes {
public:
    // Body of a C or C++ string literal: '"' and '\' get a backslash; line
    // feed, tab and carriage return their letter escapes; other control bytes
    // and DEL three-digit octal escapes (a following digit cannot extend
    // them, as it would a hexadecimal one); a '?' after a '?' becomes "\?" so
    // that no trigraph forms where a C compiler still reads them.
    static std::string C(std::string_view iText)
    {
        std::string out;
        out.reserve(iText.size() + 2);
        for (std::size_t i = 0; i < iText.size(); ++i) {
            if (iText[i] == '?' && i > 0 && iText[i - 1] == '?') {
                out += "\\?";
            } else {
                AppendCommon(out, iText[i]);
            }
        }
        return out;
    }

    // Body of a Java string literal: the C escapes without "\?" (Java has
    // none), and every non-ASCII character as \uXXXX (two for characters
    // beyond U+FFFF), so the source stays ASCII whatever encoding the
    // compiler assumes. A byte that does not start valid UTF-8 is written as
    // the character of the same number (\u00XX).
    static std::string Java(std::string_view iText)
    {
        std::string out;
        out.reserve(iText.size() + 2);
        for (std::size_t i = 0; i < iText.size();) {
            if (static_cast<unsigned char>(iText[i]) < 0x80) {
                AppendCommon(out, iText[i++]);
                continue;
            }
            unsigned long code = 0;
            const std::size_t length = DecodeUtf8(iText, i, code);
            if (length == 0) {
                AppendUnit(out, static_cast<unsigned char>(iText[i++]));
            } else if (code > 0xFFFF) {
                code -= 0x10000;
                AppendUnit(out, 0xD800 + (code >> 10));
                AppendUnit(out, 0xDC00 + (code & 0x3FF));
                i += length;
            } else {
                AppendUnit(out, code);
                i += length;
            }
        }
        return out;
    }

    // Body of a JSON string: '"' and '\' escaped, \b \f \n \r \t, other
    // control bytes \u00XX; everything else (UTF-8 included) as it is.
    static std::string Json(std::string_view iText)
    {
        std::string out;
        out.reserve(iText.size() + 2);
        for (char c : iText) {
            switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    AppendUnit(out, static_cast<unsigned char>(c));
                } else {
                    out += c;
                }
            }
        }
        return out;
    }

    // XML or HTML character data: & < > as entities.
    static std::string Xml(std::string_view iText) { return Entities(iText, false); }

    // An attribute value in either quotes: & < > " ' as entities, and tab,
    // line feed and carriage return as character references, which a parser
    // would otherwise turn into blanks.
    static std::string XmlAttribute(std::string_view iText) { return Entities(iText, true); }

    // Body of an SQL string literal: ' doubled. Backslashes are ordinary
    // characters, as the SQL standard has it.
    static std::string Sql(std::string_view iText)
    {
        std::string out;
        out.reserve(iText.size() + 2);
        for (char c : iText) {
            out += c;
            if (c == '\'') out += '\'';
        }
        return out;
    }

    // One word of a POSIX shell command line: as it is when it is not empty
    // and holds only letters, digits and _ @ % + = : , . / -; otherwise in
    // single quotes, each ' written as '\''.
    static std::string Shell(std::string_view iText)
    {
        bool plain = !iText.empty();
        for (char c : iText) {
            const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                              std::string_view("_@%+=:,./-").find(c) != std::string_view::npos;
            if (!safe) plain = false;
        }
        if (plain) return std::string(iText);
        std::string out = "'";
        for (char c : iText) {
            if (c == '\'') {
                out += "'\\''";
            } else {
                out += c;
            }
        }
        return out + "'";
    }

    // A YAML scalar that reads back as this text: as it is when a YAML
    // reader would take it for a text (in 1.1 and 1.2 alike), otherwise in
    // double quotes with backslash escapes. Quoted are: the empty text,
    // blanks at either end, a first character that YAML gives a meaning,
    // ": ", " #", a final ":", control characters, and texts a reader would
    // take for null, a boolean or a number (true, No, ~, 12, -1.5, .inf,
    // 0x1F, 1:30, ...).
    static std::string Yaml(std::string_view iText)
    {
        if (YamlPlain(iText)) return std::string(iText);
        std::string out = "\"";
        for (char c : iText) {
            const unsigned char u = static_cast<unsigned char>(c);
            switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (u < 0x20 || u == 0x7f) {
                    static const char kHex[] = "0123456789ABCDEF";
                    out += "\\x";
                    out += kHex[u >> 4];
                    out += kHex[u & 0xF];
                } else {
                    out += c;
                }
            }
        }
        return out + "\"";
    }

    // Length of the well-formed multi-byte UTF-8 sequence at iAt (0 when
    // there is none, ASCII included) and its code point: no overlong form,
    // surrogate or code point beyond U+10FFFF.
    static std::size_t DecodeUtf8(std::string_view iText, std::size_t iAt, unsigned long& oCode)
    {
        const unsigned char lead = static_cast<unsigned char>(iText[iAt]);
        std::size_t length;
        unsigned long minimum;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, minimum = 0x80, oCode = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, minimum = 0x800, oCode = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, minimum = 0x10000, oCode = lead & 0x07;
        } else {
            return 0;
        }
        if (iAt + length > iText.size()) return 0;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(iText[iAt + k]);
            if ((next & 0xC0) != 0x80) return 0;
            oCode = (oCode << 6) | (next & 0x3F);
        }
        if (oCode < minimum || oCode > 0x10FFFF || (oCode >= 0xD800 && oCode <= 0xDFFF)) return 0;
        return length;
    }

private:
    static bool YamlPlain(std::string_view iText)
    {
        if (iText.empty() || iText.front() == ' ' || iText.back() == ' ' || iText.back() == ':') return false;
        if (std::string_view("-?:,[]{}#&*!|>'\"%@`").find(iText.front()) != std::string_view::npos) {
            // "-x", "?x" and ":x" are plain texts, but "-1", "-.5" and "-" alone are not.
            const bool indicatorAlone = iText.size() == 1 || iText[1] == ' ';
            if (std::string_view("-?:").find(iText.front()) == std::string_view::npos || indicatorAlone) return false;
        }
        if (iText.find(": ") != std::string_view::npos || iText.find(" #") != std::string_view::npos) return false;
        for (char c : iText) {
            const unsigned char u = static_cast<unsigned char>(c);
            if (u < 0x20 || u == 0x7f) return false;
        }
        return !YamlOtherType(iText);
    }

    // Null, booleans (YAML 1.1 spellings too) and anything number-like:
    // a digit, or a sign or dot and then a digit or dot, at the start.
    static bool YamlOtherType(std::string_view iText)
    {
        std::string lower;
        for (char c : iText) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        for (const char* word : {"~", "null", "true", "false", "yes", "no", "on", "off", "y", "n", ".inf", "-.inf",
                                 "+.inf", ".nan", "<<"}) {
            if (lower == word) return true;
        }
        std::size_t at = 0;
        if (iText[at] == '-' || iText[at] == '+') ++at;
        if (at < iText.size() && iText[at] == '.') ++at;
        return at < iText.size() && iText[at] >= '0' && iText[at] <= '9';
    }

    static void AppendCommon(std::string& ioOut, char iChar)
    {
        const unsigned char c = static_cast<unsigned char>(iChar);
        switch (c) {
        case '"': ioOut += "\\\""; break;
        case '\\': ioOut += "\\\\"; break;
        case '\n': ioOut += "\\n"; break;
        case '\t': ioOut += "\\t"; break;
        case '\r': ioOut += "\\r"; break;
        default:
            if (c < 0x20 || c == 0x7f) {
                const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + ((c >> 3) & 7)),
                                      static_cast<char>('0' + (c & 7))};
                ioOut.append(octal, sizeof octal);
            } else {
                ioOut += iChar;
            }
        }
    }

    // "\u" and four lower-case hexadecimal digits.
    static void AppendUnit(std::string& ioOut, unsigned long iUnit)
    {
        static const char kHex[] = "0123456789abcdef";
        ioOut += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) ioOut += kHex[(iUnit >> shift) & 0xF];
    }

    static std::string Entities(std::string_view iText, bool iAttribute)
    {
        std::string out;
        out.reserve(iText.size() + 8);
        for (char c : iText) {
            switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += iAttribute ? "&quot;" : "\""; break;
            case '\'': out += iAttribute ? "&#39;" : "'"; break;
            case '\t': out += iAttribute ? "&#9;" : "\t"; break;
            case '\n': out += iAttribute ? "&#10;" : "\n"; break;
            case '\r': out += iAttribute ? "&#13;" : "\r"; break;
            default: out += c;
            }
        }
        return out;
    }
};

}  // namespace mtt_runtime

#endif
