#ifndef MTT_JSON_ERROR_H
#define MTT_JSON_ERROR_H

// Where malformed JSON went wrong and what the likely fix is, for the
// messages of ParseJson (mtt_json_builder.h). It looks at the text again only
// after the parser has failed, up to the failure, so that well-formed
// documents pay nothing for it. Header-only, C++17.

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace mtt_runtime {

// "LINE:COLUMN" of the byte at iIndex (0-based) of iText: lines end at a line
// feed, columns count bytes, both from 1.
inline std::string LineColumnOf(const std::string& iText, std::size_t iIndex)
{
    if (iIndex > iText.size()) iIndex = iText.size();
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < iIndex; ++i) {
        if (iText[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return std::to_string(line) + ":" + std::to_string(iIndex - lineStart + 1);
}

class JsonSyntaxError {
public:
    static constexpr char kNulInString[] = "a string holds a NUL character (\\u0000), which model texts cannot hold";
    static constexpr char kNulInName[] = "a member name holds a NUL character (\\u0000), which model texts cannot hold";
    static constexpr char kDuplicateMember[] = "duplicate member name ";
    static constexpr char kMissingCommaMembers[] = "missing ',' between members";
    static constexpr char kMissingCommaElements[] = "missing ',' between elements";
    static constexpr char kTrailingCommaMember[] = "trailing ',' after the last member";
    static constexpr char kTrailingCommaElement[] = "trailing ',' after the last element";
    static constexpr char kSingleQuotes[] = "single quotes: JSON strings take double quotes";
    static constexpr char kComment[] = "comments are not allowed in JSON";
    static constexpr char kUnclosedString[] = "unterminated string (missing its closing '\"')";

    // The byte offset where the string number iOrdinal (from 0, member names
    // included) begins; iText must be well-formed up to there.
    static std::size_t StringStart(const std::string& iText, std::size_t iOrdinal)
    {
        std::size_t strings = 0;
        for (Token token = Next(iText, 0); token.kind != kEnd; token = Next(iText, token.end)) {
            if (token.kind == kString && strings++ == iOrdinal) return token.begin;
        }
        return iText.size();
    }

    // The text of the string number iOrdinal as written, quotes included,
    // cut when long.
    static std::string StringText(const std::string& iText, std::size_t iOrdinal)
    {
        const std::size_t begin = StringStart(iText, iOrdinal);
        return Clip(iText, Next(iText, begin));
    }

    // The message for a parse that failed after reading iRead bytes, the
    // parser saying iParserMessage; oOffset is the byte it points at: the
    // start of the offending token, or the offending byte inside a string.
    static std::string Explain(const std::string& iText, std::size_t iRead, const std::string& iParserMessage,
                               std::size_t& oOffset)
    {
        const std::size_t failed = iRead > 0 ? iRead - 1 : 0;
        std::vector<std::size_t> open;  // offsets of the '{' and '[' not closed yet
        Expect expect = kValue;
        Token previous = {kEnd, 0, 0, true};
        for (Token token = Next(iText, 0);; token = Next(iText, token.end)) {
            if (FailsAt(iText, token, failed)) {
                oOffset = token.begin;
                return Describe(iText, token, previous, expect, open, failed, iParserMessage, oOffset);
            }
            switch (token.kind) {
            case kOpenObject:
            case kOpenArray:
                open.push_back(token.begin);
                expect = token.kind == kOpenObject ? kFirstKey : kFirstValue;
                break;
            case kCloseObject:
            case kCloseArray:
                if (!open.empty()) open.pop_back();
                expect = open.empty() ? kNothing : kCommaOrClose;
                break;
            case kColon: expect = kValue; break;
            case kComma: expect = !open.empty() && iText[open.back()] == '{' ? kKey : kValue; break;
            case kString:
                expect = expect == kKey || expect == kFirstKey ? kNameSeparator
                         : open.empty()                        ? kNothing
                                                               : kCommaOrClose;
                break;
            default: expect = open.empty() ? kNothing : kCommaOrClose; break;
            }
            previous = token;
        }
    }

private:
    enum Kind { kEnd, kOpenObject, kCloseObject, kOpenArray, kCloseArray, kColon, kComma, kString, kWord, kOther };
    // What the JSON grammar takes next.
    enum Expect { kValue, kFirstValue, kKey, kFirstKey, kNameSeparator, kCommaOrClose, kNothing };

    struct Token {
        Kind kind;
        std::size_t begin;
        std::size_t end;
        bool closed;  // a string that has its closing quote
    };

    static bool IsWordByte(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '+' || c == '.';
    }

    // The token at or after iFrom. A string ends at its closing quote, or
    // unclosed at a line feed or the end; a word is a run of letters, digits
    // and "_+-."; anything else is one character.
    static Token Next(const std::string& iText, std::size_t iFrom)
    {
        std::size_t i = iFrom;
        while (i < iText.size() && (iText[i] == ' ' || iText[i] == '\t' || iText[i] == '\n' || iText[i] == '\r')) ++i;
        if (i == iText.size()) return {kEnd, i, i, true};
        const char c = iText[i];
        if (c == '"') {
            std::size_t j = i + 1;
            while (j < iText.size() && iText[j] != '"' && iText[j] != '\n') j += iText[j] == '\\' ? 2 : 1;
            if (j < iText.size() && iText[j] == '"') return {kString, i, j + 1, true};
            return {kString, i, j < iText.size() ? j : iText.size(), false};
        }
        if (IsWordByte(c)) {
            std::size_t j = i + 1;
            while (j < iText.size() && IsWordByte(iText[j])) ++j;
            return {kWord, i, j, true};
        }
        const char* const punctuation = "{}[]:,";
        const Kind kinds[] = {kOpenObject, kCloseObject, kOpenArray, kCloseArray, kColon, kComma};
        for (int k = 0; k < 6; ++k) {
            if (c == punctuation[k]) return {kinds[k], i, i + 1, true};
        }
        // One character: a lead byte with its continuation bytes.
        std::size_t j = i + 1;
        while (j < iText.size() && (static_cast<unsigned char>(iText[j]) & 0xC0) == 0x80) ++j;
        return {kOther, i, j, true};
    }

    static bool IsValidWord(const std::string& iWord)
    {
        if (iWord == "true" || iWord == "false" || iWord == "null") return true;
        std::size_t i = iWord.size() > 0 && iWord[0] == '-' ? 1 : 0;
        auto digits = [&]() {
            const std::size_t from = i;
            while (i < iWord.size() && iWord[i] >= '0' && iWord[i] <= '9') ++i;
            return i - from;
        };
        const std::size_t integer = digits();
        if (integer == 0 || (integer > 1 && iWord[i - integer] == '0')) return false;
        if (i < iWord.size() && iWord[i] == '.' && (++i, digits() == 0)) return false;
        if (i < iWord.size() && (iWord[i] == 'e' || iWord[i] == 'E')) {
            ++i;
            if (i < iWord.size() && (iWord[i] == '+' || iWord[i] == '-')) ++i;
            if (digits() == 0) return false;
        }
        return i == iWord.size();
    }

    // Whether the parser failed on iToken: it holds the failing byte, or is
    // a malformed word or unclosed string that the parser read to its end.
    static bool FailsAt(const std::string& iText, const Token& iToken, std::size_t iFailed)
    {
        if (iToken.kind == kEnd || iToken.end > iFailed) return true;
        if (iToken.end < iFailed) return false;
        if (iToken.kind == kString) return !iToken.closed;
        return iToken.kind == kWord && !IsValidWord(iText.substr(iToken.begin, iToken.end - iToken.begin));
    }

    // The token's text, cut after about 30 bytes (not inside a character).
    static std::string Clip(const std::string& iText, const Token& iToken)
    {
        std::size_t end = iToken.end;
        if (end - iToken.begin > 30) {
            end = iToken.begin + 30;
            while (end > iToken.begin && (static_cast<unsigned char>(iText[end]) & 0xC0) == 0x80) --end;
        }
        return iText.substr(iToken.begin, end - iToken.begin) + (end < iToken.end ? "..." : "");
    }

    static std::string Found(const std::string& iText, const Token& iToken)
    {
        if (iToken.kind == kEnd) return "the end of the input";
        if (iToken.kind == kString) return "string " + Clip(iText, iToken);
        const unsigned char first = static_cast<unsigned char>(iText[iToken.begin]);
        if (iToken.kind == kOther &&
            (first < 0x20 || first == 0x7F || (iToken.end - iToken.begin == 1 && first > 0x7F))) {
            char byte[16];
            std::snprintf(byte, sizeof byte, "byte 0x%02X", first);
            return byte;
        }
        return "'" + Clip(iText, iToken) + "'";
    }

    // The parser's own words without the part that quotes the text read.
    static std::string ParserWords(const std::string& iMessage)
    {
        std::string words = iMessage;
        const std::size_t dash = words.find(" - ");
        if (words.compare(0, 12, "syntax error") == 0 && dash != std::string::npos) words.erase(0, dash + 3);
        const std::size_t lastRead = words.find("; last read");
        if (lastRead != std::string::npos) words.erase(lastRead);
        return words;
    }

    static std::string Describe(const std::string& iText, const Token& iToken, const Token& iPrevious, Expect iExpect,
                                const std::vector<std::size_t>& iOpen, std::size_t iFailed,
                                const std::string& iParserMessage, std::size_t& oOffset)
    {
        const std::string found = Found(iText, iToken);
        const char first = iToken.kind == kEnd ? '\0' : iText[iToken.begin];
        if (iToken.kind == kString && iParserMessage.find("invalid string") != std::string::npos) {
            if (!iToken.closed) return kUnclosedString;
            oOffset = iFailed;  // an escape or a byte inside the string
            return ParserWords(iParserMessage);
        }
        if (iToken.kind == kWord && iParserMessage.find("number overflow") != std::string::npos) return iParserMessage;
        if (first == '\'') return kSingleQuotes;
        if (first == '/' && iToken.end < iText.size() && (iText[iToken.end] == '/' || iText[iToken.end] == '*')) {
            return kComment;
        }
        if (iToken.kind == kEnd) {
            if (iOpen.empty()) return "the text holds no JSON value";
            return std::string("unexpected end of the input: the '") + iText[iOpen.back()] + "' at " +
                   LineColumnOf(iText, iOpen.back()) + " is not closed";
        }
        const std::string word = iText.substr(iToken.begin, iToken.end - iToken.begin);
        switch (iExpect) {
        case kNothing: return "unexpected " + found + " after the JSON value";
        case kNameSeparator: return "missing ':' after member name " + Clip(iText, iPrevious);
        case kKey:
        case kFirstKey:
            if (iToken.kind == kCloseObject && iExpect == kKey) return kTrailingCommaMember;
            if (iToken.kind == kWord)
                return "unquoted member name '" + Clip(iText, iToken) + "': names take double quotes";
            return "expected a member name in double quotes, found " + found;
        case kValue:
        case kFirstValue:
            if (iToken.kind == kCloseArray && iPrevious.kind == kComma) return kTrailingCommaElement;
            if (iToken.kind != kWord) return "expected a value, found " + found;
            if ((first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.') {
                const std::size_t digit = first == '-' ? 1 : 0;
                if (word.size() > digit + 1 && word[digit] == '0' && word[digit + 1] >= '0' && word[digit + 1] <= '9') {
                    return "invalid number " + found + ": numbers take no leading zeros";
                }
                const std::string words = ParserWords(iParserMessage);
                const std::size_t detail = words.find("invalid number; ");
                return "invalid number " + found +
                       (detail == std::string::npos ? "" : ": " + words.substr(detail + 16));
            }
            return "invalid value " + found + ": strings take double quotes; the literals are true, false and null";
        case kCommaOrClose: break;
        }
        const bool object = iText[iOpen.back()] == '{';
        if (object && iToken.kind == kString) return kMissingCommaMembers;
        if (!object && (iToken.kind == kString || iToken.kind == kWord || first == '{' || first == '[')) {
            return kMissingCommaElements;
        }
        return std::string("expected ',' or '") + (object ? '}' : ']') + "', found " + found + " (the '" +
               iText[iOpen.back()] + "' at " + LineColumnOf(iText, iOpen.back()) + " is still open)";
    }
};

}  // namespace mtt_runtime

#endif
