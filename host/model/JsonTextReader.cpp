#include "JsonTextReader.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <nlohmann/json.hpp>

#include "JsonEventPipe.h"
#include "JsonModelBuilder.h"
#include "JsonTextEvents.h"
#include "MTTInfraCompiler.h"
#include "TextWindow.h"
#include "Utf8Text.h"

namespace {

constexpr std::size_t kMaxNesting = 1000;

#if defined(__SSE2__)
// A bit for each of the 16 bytes from iAt that a string cannot take as it
// is.
inline int Stops(const char* iAt)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(iAt));
    // Signed: bytes of 0x80 and more are below the space too.
    const __m128i stops = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')),
                                                    _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\'))),
                                       _mm_cmplt_epi8(bytes, _mm_set1_epi8(' ')));
    return _mm_movemask_epi8(stops);
}
#endif

// The first byte from iAt on that a string cannot take as it is: a quote,
// a backslash, a control byte or a byte of a multi-byte character; iEnd
// when there is none.
const char* PlainUntil(const char* iAt, const char* iEnd)
{
#if defined(__SSE2__)
    while (iEnd - iAt >= 16) {
        const int mask = Stops(iAt);
        if (mask != 0) return iAt + __builtin_ctz(static_cast<unsigned>(mask));
        iAt += 16;
    }
#endif
    for (; iAt < iEnd; ++iAt) {
        const unsigned char byte = static_cast<unsigned char>(*iAt);
        if (byte == '"' || byte == '\\' || byte < 0x20 || byte >= 0x80) return iAt;
    }
    return iEnd;
}

// The length of the well-formed UTF-8 character at iAt (Unicode's table:
// no overlong forms, surrogates or code points past U+10FFFF), 0 when it is
// not one, -1 when the window ends inside it.
int CharacterLength(const char* iAt, const char* iEnd)
{
    const auto byte = [&](int iIndex) { return static_cast<unsigned char>(iAt[iIndex]); };
    const unsigned char first = byte(0);
    int length;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        if (first == 0xE0) low = 0xA0;
        if (first == 0xED) high = 0x9F;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        if (first == 0xF0) low = 0x90;
        if (first == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if (iAt + i >= iEnd) return -1;
        const unsigned char next = byte(i);
        if (i == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF)) return 0;
    }
    return length;
}

bool HexQuad(const char* iAt, unsigned& oCode)
{
    oCode = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = iAt[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return false;
        }
        oCode = oCode << 4 | digit;
    }
    return true;
}

// Where a number starting at iAt ends by JSON's grammar; oWhole: whether it
// is, oFloat: whether it has a fraction or an exponent. A number that
// reaches iEnd may go on past it.
const char* NumberEnd(const char* iAt, const char* iEnd, bool& oWhole, bool& oFloat)
{
    const auto digit = [&](const char* iByte) { return iByte < iEnd && *iByte >= '0' && *iByte <= '9'; };
    oWhole = false;
    oFloat = false;
    const char* at = iAt;
    if (at < iEnd && *at == '-') ++at;
    if (at < iEnd && *at == '0') {
        ++at;
    } else if (digit(at)) {
        while (digit(at)) ++at;
    } else {
        return at;
    }
    if (at < iEnd && *at == '.') {
        oFloat = true;
        if (!digit(++at)) return at;
        while (digit(at)) ++at;
    }
    if (at < iEnd && (*at == 'e' || *at == 'E')) {
        oFloat = true;
        ++at;
        if (at < iEnd && (*at == '+' || *at == '-')) ++at;
        if (!digit(at)) return at;
        while (digit(at)) ++at;
    }
    oWhole = true;
    return at;
}

// Reads a document from a window, reporting to Events: the model's builder
// (whose type is known here, so that its calls are direct) or any listener.
// No recursion: the open arrays and objects are a stack of their kinds.
template <class Events>
class Reader {
public:
    Reader(TextWindow& ioWindow, Events& ioEvents) : _window(ioWindow), _events(ioEvents) {}

    bool Document()
    {
        char next = Next();
        if (next != '{' && next != '[') return false;
        for (;;) {
            // next: the first byte of a value.
            switch (next) {
            case '{':
            case '[': {
                const bool object = next == '{';
                if (_open.size() == kMaxNesting) return false;
                ++_window.at;
                if (object) {
                    _events.OpenObject();
                } else {
                    _events.OpenArray();
                }
                _open.push_back(object);
                next = Next();
                if (next == (object ? '}' : ']')) {
                    ++_window.at;
                    _open.pop_back();
                    if (!_events.Close()) return false;
                    break;
                }
                if (object && !Member(next)) return false;
                continue;
            }
            case '"': {
                std::string_view text;
                if (!Text(text)) return false;
                _events.String(text);
                break;
            }
            case 't':
                if (!Literal("true", 4)) return false;
                _events.Boolean(true);
                break;
            case 'f':
                if (!Literal("false", 5)) return false;
                _events.Boolean(false);
                break;
            case 'n':
                if (!Literal("null", 4)) return false;
                _events.Null();
                break;
            default:
                if (!Number()) return false;
                break;
            }
            // After a value: a comma and the next, or the end of its holder.
            for (;;) {
                if (_open.empty()) return Next() == '\0' && _window.at == _window.end;
                next = Next();
                if (next == ',') {
                    ++_window.at;
                    next = Next();
                    if (_open.back() && !Member(next)) return false;
                    break;
                }
                if (next != (_open.back() ? '}' : ']')) return false;
                ++_window.at;
                _open.pop_back();
                if (!_events.Close()) return false;
            }
        }
    }

private:
    // More of the file, the bytes from where the window starts kept.
    bool More()
    {
        bool more;
        _window.More(_window.at, more);
        return more;
    }

    // The next byte that is not white space, where the window now starts;
    // NUL at the end of the text.
    char Next()
    {
        // Most values and marks follow the one before with no white space.
        const char* const first = _window.at;
        if (first != _window.end && static_cast<unsigned char>(*first) > ' ') return *first;
        for (;;) {
            for (const char* at = _window.at; at < _window.end; ++at) {
                const char c = *at;
                if (c != ' ' && c != '\n' && c != '\r' && c != '\t') {
                    _window.at = at;
                    return c;
                }
            }
            _window.at = _window.end;
            if (!More()) return '\0';
        }
    }

    // A member's name at iNext, and its colon; then the byte its value
    // starts with is in iNext.
    bool Member(char& ioNext)
    {
        std::string_view name;
        if (ioNext != '"' || !Text(name)) return false;
        _events.Key(name);
        if (Next() != ':') return false;
        ++_window.at;
        ioNext = Next();
        return true;
    }

    bool Literal(const char* iWord, std::size_t iLength)
    {
        while (static_cast<std::size_t>(_window.end - _window.at) < iLength) {
            if (!More()) return false;
        }
        if (std::memcmp(_window.at, iWord, iLength) != 0) return false;
        _window.at += iLength;
        return true;
    }

    // The number as the careful reader writes it back (nlohmann/json's
    // dump): integers in 64 bits as their digits ("-0" is 0), others as the
    // shortest text of the nearest double, with ".0" when it looks whole.
    // What needs more goes to that reader.
    bool Number()
    {
        bool whole;
        bool fraction;
        const char* end;
        for (;;) {
            end = NumberEnd(_window.at, _window.end, whole, fraction);
            if (end < _window.end) break;
            const std::size_t length = static_cast<std::size_t>(end - _window.at);
            if (!More()) {
                end = _window.at + length;
                break;
            }
        }
        if (!whole) return false;
        const char* begin = _window.at;
        _window.at = end;
        if (fraction) {
            double value;
            const std::from_chars_result read = std::from_chars(begin, end, value);
            if (read.ec != std::errc() || read.ptr != end) return false;
            _events.Number(nlohmann::json(value).dump());
            return true;
        }
        const std::size_t length = static_cast<std::size_t>(end - begin);
        if (length == 2 && begin[0] == '-' && begin[1] == '0') {
            _events.Number("0");
            return true;
        }
        // Up to 18 digits always fit; longer ones are checked.
        if (length - (*begin == '-') > 18) {
            std::from_chars_result read;
            if (*begin == '-') {
                int64_t value;
                read = std::from_chars(begin, end, value);
            } else {
                uint64_t value;
                read = std::from_chars(begin, end, value);
            }
            if (read.ec != std::errc() || read.ptr != end) return false;
        }
        _events.Number(std::string_view(begin, length));
        return true;
    }

    enum class Scan { kDone, kMore, kRefused };

    // The string whose opening quote is where the window starts, unescaped;
    // in the window when it holds no escape, else in _unescaped.
    bool Text(std::string_view& oText)
    {
#if defined(__SSE2__)
        // Most names and values are short and plain: their closing quote is
        // the first byte of the next 16 that a string cannot take as it is.
        if (_window.end - _window.at > 16) {
            const char* const begin = _window.at + 1;
            const int stops = Stops(begin);
            if (stops != 0) {
                const char* const at = begin + __builtin_ctz(static_cast<unsigned>(stops));
                if (*at == '"') {
                    oText = std::string_view(begin, static_cast<std::size_t>(at - begin));
                    _window.at = at + 1;
                    return true;
                }
            }
        }
#endif
        return LongText(oText);
    }

    // A string that Text does not take at once: long, escaped, not ASCII or
    // past the window. Kept out of line, so that Text stays small.
    MTT_NOINLINE bool LongText(std::string_view& oText)
    {
        for (;;) {
            switch (ScanText(oText)) {
            case Scan::kDone: return true;
            case Scan::kRefused: return false;
            case Scan::kMore:
                if (!More()) return false;
                break;
            }
        }
    }

    Scan ScanText(std::string_view& oText)
    {
        const char* const begin = _window.at + 1;
        const char* const end = _window.end;
        const char* at = begin;
        // Bytes from here on are not yet in _unescaped (after an escape).
        const char* plain = begin;
        bool escaped = false;
        for (;;) {
            at = PlainUntil(at, end);
            if (at == end) return Scan::kMore;
            const unsigned char byte = static_cast<unsigned char>(*at);
            if (byte == '"') {
                if (escaped) {
                    _unescaped.append(plain, at);
                    oText = _unescaped;
                } else {
                    oText = std::string_view(begin, static_cast<std::size_t>(at - begin));
                }
                _window.at = at + 1;
                return Scan::kDone;
            }
            if (byte >= 0x80) {
                const int length = CharacterLength(at, end);
                if (length < 0) return Scan::kMore;
                if (length == 0) return Scan::kRefused;
                at += length;
                continue;
            }
            if (byte != '\\') return Scan::kRefused;
            if (!escaped) {
                escaped = true;
                _unescaped.clear();
            }
            _unescaped.append(plain, at);
            if (end - at < 2) return Scan::kMore;
            switch (at[1]) {
            case '"': _unescaped += '"'; break;
            case '\\': _unescaped += '\\'; break;
            case '/': _unescaped += '/'; break;
            case 'b': _unescaped += '\b'; break;
            case 'f': _unescaped += '\f'; break;
            case 'n': _unescaped += '\n'; break;
            case 'r': _unescaped += '\r'; break;
            case 't': _unescaped += '\t'; break;
            case 'u': {
                unsigned code;
                if (end - at < 6) return Scan::kMore;
                if (!HexQuad(at + 2, code)) return Scan::kRefused;
                if (code >= 0xD800 && code <= 0xDBFF) {
                    // A high surrogate takes a low one straight after it.
                    unsigned low;
                    if (end - at < 12) return Scan::kMore;
                    if (at[6] != '\\' || at[7] != 'u' || !HexQuad(at + 8, low) || low < 0xDC00 || low > 0xDFFF) {
                        return Scan::kRefused;
                    }
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    at += 6;
                } else if ((code >= 0xDC00 && code <= 0xDFFF) || code == 0) {
                    // A lone low surrogate is malformed; the model takes no NUL.
                    return Scan::kRefused;
                }
                Utf8Text::Append(_unescaped, code);
                at += 4;
                break;
            }
            default: return Scan::kRefused;
            }
            at += 2;
            plain = at;
        }
    }

    TextWindow& _window;
    Events& _events;
    // Whether each open container is an object (bytes: a vector of bits
    // costs a shift and a mask on every value).
    std::vector<unsigned char> _open;
    std::string _unescaped;
};

template <class Events>
bool ReadWindow(TextWindow& ioWindow, Events& ioEvents)
{
    return Reader<Events>(ioWindow, ioEvents).Document();
}

}  // namespace

bool JsonTextReader::Read(const char* iText, std::size_t iSize, JsonModelBuilder& ioBuilder)
{
    TextWindow window(iText, iSize);
    return ReadWindow(window, ioBuilder);
}

bool JsonTextReader::Read(const char* iText, std::size_t iSize, JsonTextEvents& ioEvents)
{
    TextWindow window(iText, iSize);
    return ReadWindow(window, ioEvents);
}

bool JsonTextReader::Read(std::FILE* iFile, JsonModelBuilder& ioBuilder)
{
    TextWindow window(iFile);
    return ReadWindow(window, ioBuilder) && !window.Failed();
}

bool JsonTextReader::Read(std::FILE* iFile, JsonEventPipe& ioPipe)
{
    TextWindow window(iFile);
    return ReadWindow(window, ioPipe) && !window.Failed();
}

bool JsonTextReader::Read(std::FILE* iFile, JsonTextEvents& ioEvents, std::size_t iChunk)
{
    TextWindow window(iFile, iChunk);
    return ReadWindow(window, ioEvents) && !window.Failed();
}
