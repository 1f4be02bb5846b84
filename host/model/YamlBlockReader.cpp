#include "YamlBlockReader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "JsonEventPipe.h"
#include "JsonTextEvents.h"
#include "MTTInfraCompiler.h"
#include "TextWindow.h"
#include "Utf8Text.h"
#include "YamlReader.h"
#include "YamlScalar.h"

namespace {

// The general parser takes a key on one line of at most 1,024 characters;
// longer ones, counted in bytes here, are left to it.
constexpr std::size_t kLongestKey = 1000;

// The code point of the UTF-8 sequence at ioAt (of iLength bytes, its lead
// byte checked), ioAt moved past it; 0 when the sequence is malformed.
char32_t Decode(const unsigned char*& ioAt, const unsigned char* iEnd, int iLength)
{
    if (iEnd - ioAt < iLength) return 0;
    char32_t code = *ioAt & (0x7F >> iLength);
    for (int i = 1; i < iLength; ++i) {
        if ((ioAt[i] & 0xC0) != 0x80) return 0;
        code = code << 6 | (ioAt[i] & 0x3F);
    }
    ioAt += iLength;
    return code;
}

#ifdef __SSE2__
// A bit for each of the 16 bytes at iAt that is iA or iB.
unsigned EitherOf(const char* iAt, char iA, char iB)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(iAt));
    return static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(iA)), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(iB)))));
}
#endif

// The first ':' or '#' from iAt on, iEnd when there is none before it;
// bytes up to iReadable may be read (16 at a time).
const char* ColonOrHash(const char* iAt, const char* iEnd, const char* iReadable)
{
#ifdef __SSE2__
    while (iAt < iEnd && iReadable - iAt >= 16) {
        const unsigned marks = EitherOf(iAt, ':', '#');
        if (marks != 0) return std::min(iAt + __builtin_ctz(marks), iEnd);
        if (iEnd - iAt <= 16) return iEnd;
        iAt += 16;
    }
#endif
    while (iAt < iEnd && *iAt != ':' && *iAt != '#') ++iAt;
    return iAt;
}

// Whether every byte is one the general parser takes as it is: printable
// ASCII, LF, CRLF, and UTF-8 sequences of printable characters other
// than the byte order mark and YAML's other line breaks.
bool Printable(const char* iAt, const char* iEnd)
{
    const unsigned char* at = reinterpret_cast<const unsigned char*>(iAt);
    const unsigned char* const end = reinterpret_cast<const unsigned char*>(iEnd);
    while (at < end) {
#ifdef __SSE2__
        // Sixteen bytes at a time while they are printable ASCII or LF.
        while (end - at >= 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            // Bytes from 0x80 are negative: below ' ' too.
            const __m128i odd =
                _mm_or_si128(_mm_cmplt_epi8(bytes, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(0x7F)));
            const __m128i lineFeeds = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'));
            const int mask = _mm_movemask_epi8(_mm_andnot_si128(lineFeeds, odd));
            if (mask != 0) {
                at += __builtin_ctz(static_cast<unsigned>(mask));
                break;
            }
            at += 16;
        }
        if (at == end) break;
#endif
        const unsigned char byte = *at;
        if ((byte >= 0x20 && byte < 0x7F) || byte == '\n') {
            ++at;
        } else if (byte == '\r') {
            if (end - at < 2 || at[1] != '\n') return false;
            at += 2;
        } else if (byte >= 0xC2 && byte < 0xE0) {
            // Not the C1 controls, among them NEL, a line break to YAML.
            if (Decode(at, end, 2) < 0xA0) return false;
        } else if (byte >= 0xE0 && byte < 0xF0) {
            const char32_t code = Decode(at, end, 3);
            if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF) || code == 0x2028 || code == 0x2029 ||
                code == 0xFEFF || code >= 0xFFFE) {
                return false;
            }
        } else if (byte >= 0xF0 && byte < 0xF5) {
            const char32_t code = Decode(at, end, 4);
            if (code < 0x10000 || code > 0x10FFFF) return false;
        } else {
            return false;
        }
    }
    return true;
}

// The escape at ioAt (a backslash) written to ioText in UTF-8, ioAt
// moved past it: \" \\ \/ \n \t \r, a blank, and \x, \u, \U with their
// digits.
bool Unescape(const char*& ioAt, const char* iEnd, std::string& ioText)
{
    if (iEnd - ioAt < 2) return false;
    const char kind = ioAt[1];
    ioAt += 2;
    std::size_t digits = 0;
    switch (kind) {
    case '"':
    case '\\':
    case '/':
    case ' ': ioText += kind; return true;
    case 'n': ioText += '\n'; return true;
    case 't': ioText += '\t'; return true;
    case 'r': ioText += '\r'; return true;
    case 'x': digits = 2; break;
    case 'u': digits = 4; break;
    case 'U': digits = 8; break;
    // The other escapes, and a line break escaped, are the general reader's.
    default: return false;
    }
    if (static_cast<std::size_t>(iEnd - ioAt) < digits) return false;
    char32_t code = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = ioAt[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return false;
        code = code << 4 | static_cast<char32_t>(digit);
    }
    ioAt += digits;
    // A NUL is refused, and a surrogate or what lies beyond Unicode is an
    // error: the general reader says so.
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    Utf8Text::Append(ioText, code);
    return true;
}

// A plain scalar's text on one line, from iAt to its end (a comment,
// then oComment, or the line's); false when it holds ": " or ends with
// ':'. Bytes up to iReadable (past the line) may be read.
bool PlainValue(const char* iAt, const char* iEnd, const char* iReadable, std::string_view& oText, bool& oComment)
{
    oComment = false;
    const char* stop = iAt;
    for (;; ++stop) {
        stop = ColonOrHash(stop, iEnd, iReadable);
        if (stop == iEnd) break;
        // Nested "key: value" on one line is an error; a key without value
        // would begin a mapping here.
        if (*stop == ':' && (stop + 1 == iEnd || stop[1] == ' ')) return false;
        // iAt is no '#' (PlainStart, or a line's content), so stop - 1 is
        // in the scalar.
        if (*stop == '#' && stop[-1] == ' ') {
            oComment = true;
            break;
        }
    }
    const char* last = stop;
    while (last > iAt && last[-1] == ' ') --last;
    oText = std::string_view(iAt, static_cast<std::size_t>(last - iAt));
    return true;
}

// Whether a plain scalar may begin at iAt.
bool PlainStart(const char* iAt, const char* iEnd)
{
    switch (*iAt) {
    case ',':
    case '[':
    case ']':
    case '{':
    case '}':
    case '#':
    case '&':
    case '*':
    case '!':
    case '|':
    case '>':
    case '\'':
    case '"':
    case '%':
    case '@':
    case '`':
    case '?':
    case ':': return false;
    case '-': return iAt + 1 < iEnd && iAt[1] != ' ';
    default: return true;
    }
}

// Whether only blanks and a comment follow.
bool RestIsBlank(const char* iAt, const char* iEnd)
{
    const char* at = iAt;
    while (at < iEnd && *at == ' ') ++at;
    return at == iEnd || (*at == '#' && at > iAt);
}

bool IsEntry(const char* iAt, const char* iEnd)
{
    return *iAt == '-' && (iAt + 1 == iEnd || iAt[1] == ' ');
}

// Reads a text from a window, reporting to Events: the pipe of a model
// loaded on two cores, whose calls are then direct, or any listener.
template <class Events>
class BlockReader {
public:
    BlockReader(TextWindow& ioWindow, Events& ioEvents) : _window(ioWindow), _events(ioEvents), _checked(ioWindow.at) {}
    // True when the whole text was read and reported.
    bool Run();
    // Where the text is checked up to (a whole text: at once, before).
    void CheckedUpTo(const char* iAt) { _checked = iAt; }
    bool Declined() const { return _declined; }

private:
    // An open mapping or sequence: the column of its keys or dashes.
    struct Frame {
        std::size_t indent;
        bool mapping;
        // A sequence at its key's indent: a line there that is not an entry
        // ends it and goes on with the mapping.
        bool indentless;
    };
    // A line that holds more than blanks and a comment.
    struct Line {
        std::size_t indent;
        const char* content;  // the first byte past the indent
        const char* end;      // where the line break (or the text) begins
    };

    // The next line with content; false at the end of the text, or when
    // the reader declined (_declined).
    bool NextLine(Line& oLine);
    // The next line whatever it holds, without its line break; the same
    // false.
    bool RawLine(const char*& oBegin, const char*& oEnd);
    // More of the file, the lines still in use kept; every byte handed out
    // is checked by Printable first. False when there is no more.
    bool More();

    // The collection whose first line is iLine, at its indent.
    bool Open(const Line& iLine, bool iIndentless);
    // A sequence entry: the dash at iDash, in column iColumn.
    bool Entry(const char* iDash, const char* iEnd, std::size_t iColumn);
    // A mapping's "key: value" at iAt; iIndent: the mapping's.
    bool Member(const char* iAt, const char* iEnd, std::size_t iIndent);
    // The value after a key or a dash, from iAt to the line's end; nothing
    // there (or a comment) leaves it to the next lines.
    bool ValueAfter(const char* iAt, const char* iEnd, std::size_t iOwnerIndent, bool iOfMember);
    // The key at ioAt, ending at ':' and a blank (or the line's end); false
    // when none is there that this reader takes. ioAt moves past the ':'.
    bool Key(const char*& ioAt, const char* iEnd, std::string_view& oName);
    // The text of a quoted scalar at iAt; ioAt moves past its closing quote.
    bool Quoted(const char*& ioAt, const char* iEnd, std::string_view& oText);
    // A quoted value at iQuote whose closing quote is on a later line, each
    // deeper than iOwnerIndent, folded and reported as the general reader
    // does.
    bool QuotedOverLines(const char* iQuote, const char* iEnd, std::size_t iOwnerIndent);
    // Reports a scalar as its style and text make it.
    bool Scalar(std::string_view iText, bool iPlain);
    bool Close();

    TextWindow& _window;
    Events& _events;
    // Where Printable has checked up to.
    const char* _checked;
    bool _declined = false;
    std::vector<Frame> _frames;
    // Lines NextLine passed over before the one it gave.
    std::size_t _blankLines = 0;
    std::size_t _commentLines = 0;
    // A plain value, open while deeper lines may go on with it: its first
    // line, then the whole text once it has more; the indent of the
    // collection it is in; whether a comment ended it.
    bool _plain = false;
    std::string_view _plainFirst;
    std::string _plainText;
    std::size_t _plainIndent = 0;
    bool _plainEnded = false;
    // The value after a key or a dash when its line has none.
    bool _pending = false;
    std::size_t _pendingIndent = 0;
    bool _pendingOfMember = false;
    // A single-quoted text with its doubled quotes made single.
    std::string _unquoted;
    std::string _number;
    std::string _problem;
};

template <class Events>
bool BlockReader<Events>::Run()
{
    const auto marker = [](const Line& iLine) {
        return iLine.indent == 0 && iLine.end - iLine.content >= 3 &&
               (std::memcmp(iLine.content, "---", 3) == 0 || std::memcmp(iLine.content, "...", 3) == 0) &&
               (iLine.end - iLine.content == 3 || iLine.content[3] == ' ');
    };
    Line line;
    if (!NextLine(line)) return false;
    if (marker(line)) {
        if (line.content[0] != '-' || !RestIsBlank(line.content + 3, line.end) || !NextLine(line)) return false;
    }
    if (marker(line) || line.indent != 0 || !Open(line, false)) return false;
    for (;;) {
        const bool more = NextLine(line);
        if (more && marker(line)) return false;
        if (_plain) {
            // A deeper line goes on with the plain scalar, as the general
            // reader folds it: a line break is a blank, blank lines are
            // line ends. A comment ends the scalar.
            if (more && line.indent > _plainIndent) {
                std::string_view text;
                if (_plainEnded || _commentLines > 0 ||
                    !PlainValue(line.content, line.end, _window.end, text, _plainEnded)) {
                    return false;
                }
                if (_plainText.empty()) _plainText.assign(_plainFirst);
                if (_blankLines == 0) {
                    _plainText += ' ';
                } else {
                    _plainText.append(_blankLines, '\n');
                }
                _plainText.append(text);
                continue;
            }
            _plain = false;
            if (!Scalar(_plainText.empty() ? _plainFirst : std::string_view(_plainText), true)) return false;
            _plainText.clear();
        }
        if (_pending) {
            _pending = false;
            if (more && line.indent > _pendingIndent) {
                if (!Open(line, false)) return false;
                continue;
            }
            // A key's sequence may stand at the key's own indent.
            if (more && line.indent == _pendingIndent && _pendingOfMember && IsEntry(line.content, line.end)) {
                if (!Open(line, true)) return false;
                continue;
            }
            if (!Scalar(std::string_view(), true)) return false;
        }
        if (!more) {
            while (!_frames.empty()) {
                if (!Close()) return false;
            }
            return true;
        }
        while (_frames.back().indent > line.indent) {
            if (!Close() || _frames.empty()) return false;
        }
        const Frame top = _frames.back();
        // Deeper than what is open: a scalar going on over lines, or a
        // mistake.
        if (top.indent < line.indent) return false;
        if (!top.mapping) {
            if (IsEntry(line.content, line.end)) {
                if (!Entry(line.content, line.end, line.indent)) return false;
                continue;
            }
            if (!top.indentless || !Close()) return false;
        }
        if (!Member(line.content, line.end, line.indent)) return false;
    }
}

template <class Events>
MTT_ALWAYS_INLINE bool BlockReader<Events>::RawLine(const char*& oBegin, const char*& oEnd)
{
    for (;;) {
        const char* lineBreak = _window.at < _window.end
                                    ? static_cast<const char*>(std::memchr(_window.at, '\n', _window.end - _window.at))
                                    : nullptr;
        if (lineBreak == nullptr) {
            // A line is taken whole: more of the file first, where there is
            // more (the window may move even when there is none).
            if (More()) continue;
            if (_declined || _window.at == _window.end) return false;
        }
        oBegin = _window.at;
        oEnd = lineBreak != nullptr ? lineBreak : _window.end;
        _window.at = lineBreak != nullptr ? lineBreak + 1 : _window.end;
        // Printable let a CR through only before a LF.
        if (oEnd > oBegin && oEnd[-1] == '\r') --oEnd;
        return true;
    }
}

template <class Events>
bool BlockReader<Events>::NextLine(Line& oLine)
{
    _blankLines = 0;
    _commentLines = 0;
    const char* begin;
    const char* end;
    while (RawLine(begin, end)) {
        const char* content = begin;
        while (content < end && *content == ' ') ++content;
        if (content == end || *content == '#') {
            ++(content == end ? _blankLines : _commentLines);
            continue;
        }
        oLine = Line{static_cast<std::size_t>(content - begin), content, end};
        return true;
    }
    return false;
}

template <class Events>
bool BlockReader<Events>::More()
{
    // Kept: the line not yet whole, and the first line of a plain scalar
    // that the next lines may go on with.
    const bool plainKept = _plain && _plainText.empty();
    const char* const keep = plainKept ? std::min(_window.at, _plainFirst.data()) : _window.at;
    const std::size_t plainAt = plainKept ? static_cast<std::size_t>(_plainFirst.data() - keep) : 0;
    const std::size_t checked = static_cast<std::size_t>(_checked - keep);
    bool more;
    const char* const kept = _window.More(keep, more);
    if (plainKept) _plainFirst = std::string_view(kept + plainAt, _plainFirst.size());
    _checked = kept + checked;
    // What is checked: whole lines (a CR and a UTF-8 sequence end before
    // a line feed), and at the end all that is left.
    const char* upTo = _window.end;
    if (more) {
        while (upTo > _checked && upTo[-1] != '\n') --upTo;
    }
    if (!Printable(_checked, upTo) || _window.Failed()) {
        _declined = true;
        return false;
    }
    _checked = upTo;
    return more;
}

template <class Events>
bool BlockReader<Events>::Open(const Line& iLine, bool iIndentless)
{
    if (_frames.size() >= YamlReader::kMaxNesting) return false;
    if (IsEntry(iLine.content, iLine.end)) {
        _frames.push_back(Frame{iLine.indent, false, iIndentless});
        _events.OpenArray();
        return Entry(iLine.content, iLine.end, iLine.indent);
    }
    _frames.push_back(Frame{iLine.indent, true, false});
    _events.OpenObject();
    return Member(iLine.content, iLine.end, iLine.indent);
}

template <class Events>
bool BlockReader<Events>::Entry(const char* iDash, const char* iEnd, std::size_t iColumn)
{
    const char* at = iDash + 1;
    while (at < iEnd && *at == ' ') ++at;
    if (at == iEnd || *at == '#') return ValueAfter(at, iEnd, iColumn, false);
    // "- - x": a sequence begun on its entry's line.
    if (IsEntry(at, iEnd)) return false;
    std::string_view name;
    const char* afterKey = at;
    if (!Key(afterKey, iEnd, name)) return ValueAfter(at, iEnd, iColumn, false);
    // "- key: value" begins a mapping at the key's column.
    if (_frames.size() >= YamlReader::kMaxNesting) return false;
    const std::size_t indent = iColumn + static_cast<std::size_t>(at - iDash);
    _frames.push_back(Frame{indent, true, false});
    _events.OpenObject();
    _events.Key(name);
    return ValueAfter(afterKey, iEnd, indent, true);
}

template <class Events>
bool BlockReader<Events>::Member(const char* iAt, const char* iEnd, std::size_t iIndent)
{
    std::string_view name;
    if (!Key(iAt, iEnd, name)) return false;
    _events.Key(name);
    return ValueAfter(iAt, iEnd, iIndent, true);
}

template <class Events>
bool BlockReader<Events>::ValueAfter(const char* iAt, const char* iEnd, std::size_t iOwnerIndent, bool iOfMember)
{
    const char* at = iAt;
    while (at < iEnd && *at == ' ') ++at;
    // A '#' here follows a blank: the key's or the dash's.
    if (at == iEnd || *at == '#') {
        _pending = true;
        _pendingIndent = iOwnerIndent;
        _pendingOfMember = iOfMember;
        return true;
    }
    std::string_view text;
    if (*at == '"' || *at == '\'') {
        const char* after = at;
        if (Quoted(after, iEnd, text)) return RestIsBlank(after, iEnd) && Scalar(text, false);
        return QuotedOverLines(at, iEnd, iOwnerIndent);
    }
    // Reported once the next lines show where it ends.
    if (!PlainStart(at, iEnd) || !PlainValue(at, iEnd, _window.end, _plainFirst, _plainEnded)) return false;
    _plain = true;
    _plainIndent = iOwnerIndent;
    return true;
}

template <class Events>
bool BlockReader<Events>::Key(const char*& ioAt, const char* iEnd, std::string_view& oName)
{
    const char* at = ioAt;
    const char* colon;
    if (*at == '"' || *at == '\'') {
        if (!Quoted(at, iEnd, oName) || at == iEnd || *at != ':') return false;
        colon = at;
    } else {
        if (!PlainStart(at, iEnd)) return false;
        // A comment before the colon ends the scalar there (at holds no
        // '#', PlainStart).
        for (colon = at;; ++colon) {
            colon = ColonOrHash(colon, iEnd, _window.end);
            if (colon == iEnd || (*colon == '#' && colon[-1] == ' ')) return false;
            if (*colon == ':' && (colon + 1 == iEnd || colon[1] == ' ')) break;
        }
        const char* last = colon;
        while (last[-1] == ' ') --last;
        // Worked on here, not through oName: a view written to memory and
        // read back at once as a whole stalls the processor.
        const std::string_view name(at, static_cast<std::size_t>(last - at));
        // "<<" merges; a plain key that reads as a number must be one the
        // general reader takes.
        if (name == "<<") return false;
        if (!YamlScalar::SurelyString(name)) {
            const YamlScalar::Type type = YamlScalar::Resolve(name);
            YamlScalar::Kind kind;
            if (type != YamlScalar::Type::kString && !YamlScalar::KindOf(name, type, kind, _number, _problem)) {
                return false;
            }
        }
        oName = name;
    }
    if (colon + 1 < iEnd && colon[1] != ' ') return false;
    if (static_cast<std::size_t>(colon - ioAt) > kLongestKey) return false;
    ioAt = colon + 1;
    return true;
}

template <class Events>
bool BlockReader<Events>::Quoted(const char*& ioAt, const char* iEnd, std::string_view& oText)
{
    const char quote = *ioAt;
    const char* const from = ioAt + 1;
    _unquoted.clear();
    if (quote == '"') {
        // Escapes are written out in _unquoted; a text without them is
        // taken where it is.
        const char* at = from;
        for (;;) {
            const char* stop = at;
            while (stop < iEnd && *stop != '"' && *stop != '\\') ++stop;
            if (stop == iEnd) return false;
            if (*stop == '"') {
                if (at == from) {
                    oText = std::string_view(from, static_cast<std::size_t>(stop - from));
                } else {
                    _unquoted.append(at, stop);
                    oText = _unquoted;
                }
                ioAt = stop + 1;
                return true;
            }
            _unquoted.append(at, stop);
            at = stop;
            if (!Unescape(at, iEnd, _unquoted)) return false;
        }
    }
    // '' inside is one quote.
    const char* at = from;
    for (;;) {
        const char* close = static_cast<const char*>(std::memchr(at, '\'', iEnd - at));
        if (close == nullptr) return false;
        if (close + 1 < iEnd && close[1] == '\'') {
            _unquoted.append(at, close + 1);
            at = close + 2;
            continue;
        }
        if (at == from) {
            oText = std::string_view(from, static_cast<std::size_t>(close - from));
        } else {
            _unquoted.append(at, close);
            oText = _unquoted;
        }
        ioAt = close + 1;
        return true;
    }
}

template <class Events>
MTT_NOINLINE bool BlockReader<Events>::QuotedOverLines(const char* iQuote, const char* iEnd, std::size_t iOwnerIndent)
{
    const char quote = *iQuote;
    _unquoted.clear();
    const char* at = iQuote + 1;
    const char* end = iEnd;
    // Lines of blanks since the last with text, and whether that one ended
    // with an escaped line break.
    std::size_t blankLines = 0;
    bool escapedBreak = false;
    for (bool first = true;; first = false) {
        if (!first) {
            const char* begin;
            if (!RawLine(begin, end)) return false;
            at = begin;
            while (at < end && *at == ' ') ++at;
            if (at == end) {
                ++blankLines;
                continue;
            }
            if (static_cast<std::size_t>(at - begin) <= iOwnerIndent) return false;
            // A line break is a blank; blank lines are line ends; an escaped
            // break is nothing.
            if (escapedBreak || blankLines > 0) {
                _unquoted.append(blankLines, '\n');
            } else {
                _unquoted += ' ';
            }
            blankLines = 0;
            escapedBreak = false;
        }
        // Blanks before a line break are not part of the text; escaped ones
        // are.
        std::size_t kept = _unquoted.size();
        while (at < end) {
            const char c = *at;
            if (c == quote) {
                if (quote == '\'' && at + 1 < end && at[1] == '\'') {
                    _unquoted += '\'';
                    at += 2;
                    kept = _unquoted.size();
                    continue;
                }
                return RestIsBlank(at + 1, end) && Scalar(_unquoted, false);
            }
            if (quote == '"' && c == '\\') {
                if (at + 1 == end) {
                    escapedBreak = true;
                    kept = _unquoted.size();
                    break;
                }
                if (!Unescape(at, end, _unquoted)) return false;
                kept = _unquoted.size();
                continue;
            }
            _unquoted += c;
            ++at;
            if (c != ' ') kept = _unquoted.size();
        }
        _unquoted.resize(kept);
    }
}

template <class Events>
bool BlockReader<Events>::Scalar(std::string_view iText, bool iPlain)
{
    // Most scalars are strings, known without a call.
    if (!iPlain || YamlScalar::SurelyString(iText)) {
        _events.String(iText);
        return true;
    }
    return YamlScalar::Report(iText, iPlain, _events, _number, _problem);
}

template <class Events>
bool BlockReader<Events>::Close()
{
    _frames.pop_back();
    return _events.Close();
}

template <class Events>
bool ReadFile(std::FILE* iFile, Events& ioEvents, std::size_t iChunk)
{
    TextWindow window(iFile, iChunk);
    BlockReader<Events> reader(window, ioEvents);
    return reader.Run() && !reader.Declined() && !window.Failed();
}

}  // namespace

bool YamlBlockReader::Read(std::string_view iText, JsonTextEvents& ioEvents)
{
    // A whole text is checked at once, before anything is reported.
    if (!Printable(iText.data(), iText.data() + iText.size())) return false;
    TextWindow window(iText.data(), iText.size());
    BlockReader<JsonTextEvents> reader(window, ioEvents);
    reader.CheckedUpTo(window.end);
    return reader.Run() && !reader.Declined();
}

bool YamlBlockReader::Read(std::FILE* iFile, JsonTextEvents& ioEvents, std::size_t iChunk)
{
    return ReadFile(iFile, ioEvents, iChunk);
}

bool YamlBlockReader::Read(std::FILE* iFile, JsonEventPipe& ioPipe, std::size_t iChunk)
{
    return ReadFile(iFile, ioPipe, iChunk);
}
