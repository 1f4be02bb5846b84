#include "ScriptJson.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "MTTInfraCompiler.h"
#include "mtt_transform_escapes.h"

namespace {

// The length of the valid UTF-8 sequence at iText[iAt], or 0.
size_t SequenceLength(std::string_view iText, size_t iAt)
{
    if (static_cast<unsigned char>(iText[iAt]) < 0x80) return 1;
    unsigned long code = 0;
    return mtt_runtime::TransformEscapes::DecodeUtf8(iText, iAt, code);
}

// Written as it is: printable ASCII other than the quote, the backslash and "<".
bool IsPlain(char c)
{
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\' && c != '<';
}

// Non-zero when one of eight bytes is to be escaped or beyond ASCII.
MTT_ALWAYS_INLINE uint64_t NotPlainIn(uint64_t iWord)
{
    constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    const auto anyZero = [](uint64_t iBytes) { return (iBytes - kOnes) & ~iBytes & kHighs; };
    return (iWord & kHighs) | ((iWord - kOnes * 0x20) & ~iWord & kHighs) | anyZero(iWord ^ (kOnes * '"')) |
           anyZero(iWord ^ (kOnes * '\\')) | anyZero(iWord ^ (kOnes * '<'));
}

// Where the run of plain bytes from iAt ends: eight bytes at a time while
// none of them is a byte to escape or beyond ASCII (generated code is
// mostly such runs, a line end apart).
size_t PlainRunEnd(std::string_view iText, size_t iAt)
{
    const size_t size = iText.size();
    // The first bytes one at a time: a model's scalars are short runs
    // between quotes.
    for (const size_t first = std::min(size, iAt + 8); iAt < first; ++iAt) {
        if (!IsPlain(iText[iAt])) return iAt;
    }
    for (; iAt + 8 <= size; iAt += 8) {
        uint64_t word;
        std::memcpy(&word, iText.data() + iAt, sizeof word);
        if (NotPlainIn(word) != 0) break;
    }
    while (iAt < size && IsPlain(iText[iAt])) ++iAt;
    return iAt;
}

// What Convert writes, gathered in a buffer of its own and added to the
// string a few kilobytes at a time: a text of short runs and escapes (a
// model's quoted scalars) would otherwise take a call per piece. A null
// string takes nothing.
class Sink {
public:
    explicit Sink(std::string* ioOut) : _out(ioOut) {}
    Sink(const Sink&) = delete;
    Sink& operator=(const Sink&) = delete;

    void Put(char iByte)
    {
        if (_used == sizeof _buffer) Flush();
        _buffer[_used++] = iByte;
    }
    void Put(const char* iBytes, size_t iLength)
    {
        if (iLength > sizeof _buffer - _used) {
            Flush();
            if (iLength > sizeof _buffer / 2) {
                if (_out != nullptr) _out->append(iBytes, iLength);
                return;
            }
        }
        std::memcpy(_buffer + _used, iBytes, iLength);
        _used += iLength;
    }
    void Flush()
    {
        if (_out != nullptr) _out->append(_buffer, _used);
        _used = 0;
    }
    // Room for iCount (at most the buffer's size) bytes written through
    // the pointer returned, then told with Wrote: a byte at a time without
    // a check each.
    char* Room(size_t iCount)
    {
        if (sizeof _buffer - _used < iCount) Flush();
        return _buffer + _used;
    }
    void Wrote(const char* iEnd) { _used = static_cast<size_t>(iEnd - _buffer); }

private:
    std::string* _out;
    char _buffer[4096];
    size_t _used = 0;
};

// How each ASCII byte is written in JSON in a script: itself, or its
// escape (at most six bytes), with its length. A table, so that a byte is
// written without a branch: a model's scalars put a quote every few bytes.
struct ByteForms {
    ByteForms()
    {
        static const char kHex[] = "0123456789abcdef";
        for (unsigned byte = 0; byte < 128; ++byte) {
            char* form = reinterpret_cast<char*>(&forms[byte]);
            if (IsPlain(static_cast<char>(byte))) {
                form[0] = static_cast<char>(byte);
                lengths[byte] = 1;
            } else if (byte == '"' || byte == '\\' || byte == '\n') {
                form[0] = '\\';
                form[1] = byte == '\n' ? 'n' : static_cast<char>(byte);
                lengths[byte] = 2;
            } else {
                const char escaped[6] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 15]};
                std::memcpy(form, escaped, sizeof escaped);
                lengths[byte] = 6;
            }
        }
    }
    uint64_t forms[128] = {};
    unsigned char lengths[128] = {};
};

const ByteForms kByteForms;

// An ASCII byte written at iTo, with up to 7 bytes past its form written
// over; returns its end.
MTT_ALWAYS_INLINE char* PutByte(char* iTo, unsigned char iByte)
{
    std::memcpy(iTo, &kByteForms.forms[iByte], 8);
    return iTo + kByteForms.lengths[iByte];
}

// The place in a word, loaded from memory, of the first byte that
// NotPlainIn flags: its lowest flag is exact (a borrow only flags bytes
// past a flagged one).
MTT_ALWAYS_INLINE size_t FirstFlagged(uint64_t iFlags)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return static_cast<size_t>(__builtin_clzll(iFlags)) / 8;
#else
    return static_cast<size_t>(__builtin_ctzll(iFlags)) / 8;
#endif
}

// An ASCII text: each run of plain bytes, found a word or two at a time,
// copied at once, then the byte that ends it escaped. Generated code ends
// a run at every line, a few words in.
void PutAscii(Sink& ioSink, std::string_view iText)
{
    const char* bytes = iText.data();
    const size_t size = iText.size();
    size_t run = 0, at = 0;
    // The run up to iAt, then the byte there escaped.
    const auto escape = [&](size_t iAt) {
        ioSink.Put(bytes + run, iAt - run);
        ioSink.Wrote(PutByte(ioSink.Room(8), static_cast<unsigned char>(bytes[iAt])));
        run = at = iAt + 1;
    };
#ifdef __SSE2__
    // Sixteen bytes at a time: bytes from 0x80 are negative, below ' ' too.
    while (at + 16 <= size) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        const __m128i odd = _mm_or_si128(_mm_or_si128(_mm_cmplt_epi8(chunk, _mm_set1_epi8(' ')),
                                                      _mm_cmpeq_epi8(chunk, _mm_set1_epi8('"'))),
                                         _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\\')),
                                                      _mm_cmpeq_epi8(chunk, _mm_set1_epi8('<'))));
        const unsigned flags = static_cast<unsigned>(_mm_movemask_epi8(odd));
        if (flags == 0) {
            at += 16;
        } else if ((flags & (flags - 1)) == 0) {
            escape(at + static_cast<size_t>(__builtin_ctz(flags)));
        } else {
            // Several to escape (a model's quoted scalars): the sixteen
            // bytes one by one.
            ioSink.Put(bytes + run, at - run);
            char* to = ioSink.Room(16 * 6 + 8);
            for (const size_t end = at + 16; at < end; ++at) to = PutByte(to, static_cast<unsigned char>(bytes[at]));
            ioSink.Wrote(to);
            run = at;
        }
    }
#endif
    while (at + 8 <= size) {
        uint64_t word;
        std::memcpy(&word, bytes + at, sizeof word);
        const uint64_t flags = NotPlainIn(word);
        if (flags == 0) {
            at += 8;
        } else {
            escape(at + FirstFlagged(flags));
        }
    }
    ioSink.Put(bytes + run, at - run);
    char* to = ioSink.Room(8 * 6 + 8);
    for (; at < size; ++at) to = PutByte(to, static_cast<unsigned char>(bytes[at]));
    ioSink.Wrote(to);
}

}  // namespace

bool ScriptJson::IsAscii(std::string_view iText)
{
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    size_t at = 0;
    for (; at + 8 <= iText.size(); at += 8) {
        uint64_t word;
        std::memcpy(&word, iText.data() + at, sizeof word);
        if ((word & kHighs) != 0) return false;
    }
    for (; at < iText.size(); ++at) {
        if (static_cast<unsigned char>(iText[at]) >= 0x80) return false;
    }
    return true;
}

void ScriptJson::AppendString(std::string& ioOut, std::string_view iText)
{
    std::vector<uint32_t> units;
    Convert(&ioOut, iText, {}, units);
}

void ScriptJson::AppendString(std::string& ioOut, std::string_view iText, const std::vector<uint32_t>& iBytes,
                              std::vector<uint32_t>& oUnits)
{
    Convert(&ioOut, iText, iBytes, oUnits);
}

void ScriptJson::Units(std::string_view iText, const std::vector<uint32_t>& iBytes, std::vector<uint32_t>& oUnits)
{
    // ASCII, as generated code mostly is: every byte is one unit.
    if (!IsAscii(iText)) {
        if (&iBytes == &oUnits) {
            const std::vector<uint32_t> bytes(iBytes);
            Convert(nullptr, iText, bytes, oUnits);
        } else {
            Convert(nullptr, iText, iBytes, oUnits);
        }
        return;
    }
    oUnits.resize(iBytes.size());
    for (size_t i = 0; i < iBytes.size(); ++i)
        oUnits[i] = std::min<uint32_t>(iBytes[i], static_cast<uint32_t>(iText.size()));
}

void ScriptJson::Convert(std::string* ioOut, std::string_view iText, const std::vector<uint32_t>& iBytes,
                         std::vector<uint32_t>& oUnits)
{
    oUnits.clear();
    oUnits.reserve(iBytes.size());
    if (ioOut != nullptr) ioOut->reserve(ioOut->size() + iText.size() + iText.size() / 16 + 2);
    Sink sink(ioOut);
    sink.Put('"');
    const size_t size = iText.size();
    if (IsAscii(iText)) {
        // A byte is a unit: nothing to count.
        for (const uint32_t byte : iBytes) oUnits.push_back(std::min(byte, static_cast<uint32_t>(size)));
        if (ioOut != nullptr) PutAscii(sink, iText);
        sink.Put('"');
        sink.Flush();
        return;
    }
    size_t next = 0;   // the first offset of iBytes not answered yet
    size_t shift = 0;  // units minus bytes so far
    for (size_t at = 0; at < size;) {
        // A run of plain bytes: one unit each, copied at once.
        const size_t run = PlainRunEnd(iText, at);
        if (run > at) {
            for (; next < iBytes.size() && iBytes[next] < run; ++next) oUnits.push_back(iBytes[next] + shift);
            sink.Put(iText.data() + at, run - at);
            at = run;
            continue;
        }
        const size_t valid = SequenceLength(iText, at);
        const size_t length = valid == 0 ? 1 : valid;
        const uint32_t units = static_cast<uint32_t>(at + shift);
        for (; next < iBytes.size() && iBytes[next] < at + length; ++next) oUnits.push_back(units);
        if (valid == 0) {
            sink.Put("\xef\xbf\xbd", 3);
        } else if (valid > 1) {
            sink.Put(iText.data() + at, valid);
        } else {
            sink.Wrote(PutByte(sink.Room(6 + 8), static_cast<unsigned char>(iText[at])));
        }
        // One unit for the character, two beyond the first plane; shift
        // keeps units = bytes + shift.
        const size_t charUnits = valid == 4 ? 2 : 1;
        shift = shift + charUnits - length;
        at += length;
    }
    for (; next < iBytes.size(); ++next) oUnits.push_back(static_cast<uint32_t>(size + shift));
    sink.Put('"');
    sink.Flush();
}
