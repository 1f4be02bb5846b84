#include "DirectiveLexer.h"

#include "PropertyReference.h"
#include "SourceText.h"
#include "TemplateSyntaxError.h"

DirectiveLexer::DirectiveLexer(const SourceText& iSource, size_t iBegin, size_t iEnd) : _source(&iSource), _next(0)
{
    // Most directives hold a handful of tokens: one allocation for them.
    _tokens.reserve(8);
    Tokenize(iBegin, iEnd);
}

const DirectiveToken& DirectiveLexer::Next()
{
    const DirectiveToken& token = _tokens[_next];
    if (_next + 1 < _tokens.size()) ++_next;
    return token;
}

bool DirectiveLexer::Accept(DirectiveToken::Kind iKind)
{
    if (Peek().kind != iKind) return false;
    Next();
    return true;
}

bool DirectiveLexer::IsNameChar(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '-' ||
           u == '.' || u >= 0x80;
}

void DirectiveLexer::Add(DirectiveToken::Kind iKind, size_t iOffset, size_t iLength)
{
    _tokens.emplace_back();
    DirectiveToken& token = _tokens.back();
    token.kind = iKind;
    token.offset = iOffset;
    token.text.assign(_source->Text(), iOffset, iLength);
}

void DirectiveLexer::Tokenize(size_t iBegin, size_t iEnd)
{
    using K = DirectiveToken;
    const std::string& s = _source->Text();
    size_t p = iBegin;
    while (p < iEnd) {
        char c = s[p];
        char d = p + 1 < iEnd ? s[p + 1] : '\0';
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++p;
        } else if (IsNameChar(c)) {
            size_t start = p;
            while (p < iEnd && IsNameChar(s[p])) ++p;
            Add(K::kWord, start, p - start);
        } else if (c == '"') {
            p = ScanString(p, iEnd);
        } else if (c == '$' && d == '{') {
            p = ScanProperty(p, iEnd);
        } else {
            K::Kind kind = K::kEnd;
            size_t length = 2;
            switch (c) {
            case '(':
                kind = K::kLeftParen;
                length = 1;
                break;
            case ')':
                kind = K::kRightParen;
                length = 1;
                break;
            case ',':
                kind = K::kComma;
                length = 1;
                break;
            case '/':
                kind = K::kSlash;
                length = 1;
                break;
            case '!':
                if (d == '=')
                    kind = K::kNotEqual;
                else {
                    kind = K::kNot;
                    length = 1;
                }
                break;
            case '=':
                if (d == '=')
                    kind = K::kEqual;
                else {
                    kind = K::kAssign;
                    length = 1;
                }
                break;
            case '<':
                if (d == '=')
                    kind = K::kLessEqual;
                else {
                    kind = K::kLess;
                    length = 1;
                }
                break;
            case '>':
                if (d == '=')
                    kind = K::kGreaterEqual;
                else {
                    kind = K::kGreater;
                    length = 1;
                }
                break;
            case '&':
                if (d == '&') kind = K::kAnd;
                break;
            case '|':
                if (d == '|') {
                    kind = K::kOr;
                } else if (d == '=') {
                    kind = K::kOrAssign;
                } else {
                    kind = K::kPipe;
                    length = 1;
                }
                break;
            case '+':
                if (d == '=') {
                    kind = K::kAppend;
                } else {
                    kind = K::kPlus;
                    length = 1;
                }
                break;
            case '*':
                kind = K::kStar;
                length = 1;
                break;
            case '%':
                kind = K::kPercent;
                length = 1;
                break;
            case '?':
                kind = K::kQuestion;
                length = 1;
                break;
            default: break;
            }
            if (kind == K::kEnd) {
                std::string shown = c == '&' ? "'&' (write '&&')" : "'" + std::string(1, c) + "'";
                throw TemplateSyntaxError(p, "unexpected character " + shown);
            }
            Add(kind, p, length);
            p += length;
        }
    }
    _tokens.emplace_back();
    _tokens.back().kind = K::kEnd;
    _tokens.back().offset = iEnd;
}

size_t DirectiveLexer::ScanString(size_t iQuote, size_t iEnd)
{
    // The template lexer has already made sure the string is closed.
    const std::string& s = _source->Text();
    DirectiveToken token;
    token.kind = DirectiveToken::kString;
    token.offset = iQuote;
    size_t p = iQuote + 1;
    while (p < iEnd && s[p] != '"') {
        if (s[p] != '\\') {
            size_t run = p + 1;
            while (run < iEnd && s[run] != '"' && s[run] != '\\') ++run;
            token.text.append(s, p, run - p);
            p = run;
            continue;
        }
        char e = p + 1 < iEnd ? s[p + 1] : '\0';
        switch (e) {
        case '"': token.text += '"'; break;
        case '\\': token.text += '\\'; break;
        case 'n': token.text += '\n'; break;
        case 't': token.text += '\t'; break;
        default:
            throw TemplateSyntaxError(p, std::string("unknown escape '\\") + e +
                                             "' in a string; expected \\\", \\\\, \\n or \\t");
        }
        p += 2;
    }
    _tokens.push_back(std::move(token));
    return p + 1;
}

size_t DirectiveLexer::ScanProperty(size_t iOpen, size_t iEnd)
{
    const size_t close = PropertyReference::FindEnd(*_source, iOpen, iEnd);
    Add(DirectiveToken::kProperty, iOpen, 0);
    _tokens.back().text.assign(_source->Text(), iOpen + 2, close - iOpen - 2);
    return close + 1;
}

bool DirectiveLexer::HasAhead(DirectiveToken::Kind iKind) const
{
    for (size_t i = _next; i < _tokens.size(); ++i) {
        if (_tokens[i].kind == iKind) return true;
    }
    return false;
}
