#include "ScriptJson.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

// Where the run of plain bytes from iAt ends: eight bytes at a time while
// none of them is a byte to escape or beyond ASCII (generated code is
// mostly such runs, a line end apart).
size_t PlainRunEnd(std::string_view iText, size_t iAt)
{
    constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    const auto anyZero = [](uint64_t iWord) { return (iWord - kOnes) & ~iWord & kHighs; };
    const size_t size = iText.size();
    // The first bytes one at a time: a model's scalars are short runs
    // between quotes.
    for (const size_t first = std::min(size, iAt + 8); iAt < first; ++iAt) {
        if (!IsPlain(iText[iAt])) return iAt;
    }
    for (; iAt + 8 <= size; iAt += 8) {
        uint64_t word;
        std::memcpy(&word, iText.data() + iAt, sizeof word);
        const uint64_t special = (word & kHighs) | ((word - kOnes * 0x20) & ~word & kHighs) |
                                 anyZero(word ^ (kOnes * '"')) | anyZero(word ^ (kOnes * '\\')) |
                                 anyZero(word ^ (kOnes * '<'));
        if (special != 0) break;
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

private:
    std::string* _out;
    char _buffer[4096];
    size_t _used = 0;
};

}  // namespace

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
    const bool ascii =
        std::all_of(iText.begin(), iText.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
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
    static const char kHex[] = "0123456789abcdef";
    oUnits.clear();
    oUnits.reserve(iBytes.size());
    if (ioOut != nullptr) ioOut->reserve(ioOut->size() + iText.size() + iText.size() / 16 + 2);
    Sink sink(ioOut);
    sink.Put('"');
    size_t next = 0;   // the first offset of iBytes not answered yet
    size_t shift = 0;  // units minus bytes so far
    const size_t size = iText.size();
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
        const unsigned char c = static_cast<unsigned char>(iText[at]);
        if (valid == 0) {
            sink.Put("\xef\xbf\xbd", 3);
        } else if (valid > 1) {
            sink.Put(iText.data() + at, valid);
        } else if (c == '"' || c == '\\') {
            sink.Put('\\');
            sink.Put(static_cast<char>(c));
        } else if (c == '\n') {
            sink.Put('\\');
            sink.Put('n');
        } else {
            const char escaped[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
            sink.Put(escaped, sizeof escaped);
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
