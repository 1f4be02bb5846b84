#include "Manifest.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include <nlohmann/json.hpp>

#include "EncodedName.h"
#include "JsonTextEvents.h"
#include "JsonTextReader.h"
#include "TextFile.h"

const char* const Manifest::kFileName = ".mttgen-manifest";

namespace {

const int kManifestVersion = 1;

// The two lower-case hex digits of each byte value.
struct HexPairs {
    char pair[256][2];
    constexpr HexPairs() : pair()
    {
        const char digits[] = "0123456789abcdef";
        for (int b = 0; b < 256; ++b) {
            pair[b][0] = digits[b >> 4];
            pair[b][1] = digits[b & 0xf];
        }
    }
};

void AppendHex(const std::vector<uint32_t>& iDigests, std::string& ioText)
{
    // A byte at a time through a table: a large file has a digest a line.
    static constexpr HexPairs kPairs;
    const size_t start = ioText.size();
    ioText.resize(start + iDigests.size() * 8);
    char* hex = &ioText[start];
    for (const uint32_t digest : iDigests) {
        for (int shift = 24; shift >= 0; shift -= 8, hex += 2)
            std::memcpy(hex, kPairs.pair[(digest >> shift) & 0xff], 2);
    }
}

// iText as a JSON string. Names are mostly printable ASCII without a quote
// or a backslash, which JSON writes as they are: the general writer took
// more than half of the record's text for a folder of ten thousand files.
void AppendQuoted(const std::string& iText, std::string& ioText)
{
    for (const char c : iText) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7e || c == '"' || c == '\\') {
            ioText += nlohmann::json(iText).dump();
            return;
        }
    }
    ioText += '"';
    ioText += iText;
    ioText += '"';
}

void AppendHex(uint64_t iDigest, std::string& ioText)
{
    AppendHex({static_cast<uint32_t>(iDigest >> 32), static_cast<uint32_t>(iDigest)}, ioText);
}

// Eight lower-case hex digits as the digest they spell, read as one word
// (a large file has a digest a line, hundreds of thousands of them): false
// for any other byte. Each test is an addition whose carry lands in the
// byte's top bit, which no byte below 0x80 reaches from the next.
bool HexWord(const unsigned char* iHex, uint32_t& oDigest)
{
    constexpr uint64_t kOnes = 0x0101010101010101ull, kTops = kOnes * 0x80;
    uint64_t word;
    std::memcpy(&word, iHex, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap64(word);  // the first digit in the lowest byte
#endif
    const auto atLeast = [word](unsigned iLow) { return (word + kOnes * (0x80 - iLow)) & kTops; };
    const auto above = [word](unsigned iHigh) { return (word + kOnes * (0x7F - iHigh)) & kTops; };
    const uint64_t letters = atLeast('a') & ~above('f');
    if ((word & kTops) != 0 || ((atLeast('0') & ~above('9')) | letters) != kTops) return false;
    // Each byte's value, then pairs, quads and the whole, the first digit
    // the highest.
    const uint64_t nibbles = (word & (kOnes * 0xF)) + (letters >> 7) * 9;
    const uint64_t bytes = ((nibbles & 0x000F000F000F000Full) << 4) | ((nibbles >> 8) & 0x000F000F000F000Full);
    const uint64_t halves = ((bytes & 0x000000FF000000FFull) << 8) | ((bytes >> 16) & 0x000000FF000000FFull);
    oDigest = static_cast<uint32_t>(((halves & 0xFFFF) << 16) | ((halves >> 32) & 0xFFFF));
    return true;
}

bool FromHex(std::string_view iText, std::vector<uint32_t>& oDigests)
{
    if (iText.size() % 8 != 0) return false;
    oDigests.resize(iText.size() / 8);
    const unsigned char* hex = reinterpret_cast<const unsigned char*>(iText.data());
    for (uint32_t& digest : oDigests) {
        if (!HexWord(hex, digest)) return false;
        hex += 8;
    }
    return true;
}

bool FromHex(std::string_view iText, uint64_t& oDigest)
{
    std::vector<uint32_t> halves;
    if (iText.size() != 16 || !FromHex(iText, halves)) return false;
    oDigest = uint64_t(halves[0]) << 32 | halves[1];
    return true;
}

// What Load takes from a manifest's text as it is read: the version, then
// each file's run, line digests and whole digest. Other members are passed
// over; a file without a text "run" and well-formed "lines" (a damaged
// entry) stops the reading. A "whole" that is not a digest is passed over:
// the lines are then digested and compared, as without it.
class ManifestEvents final : public JsonTextEvents {
public:
    explicit ManifestEvents(std::map<std::string, Manifest::Entry>& oEntries) : _entries(oEntries) {}

    void OpenArray() override { Open(false); }
    void OpenObject() override { Open(true); }
    void Key(std::string_view iName) override
    {
        if (_depth == 1) {
            _member = iName;
        } else if (_depth == 2 && _inFiles) {
            _file = iName;
            _entry = Manifest::Entry();
            _run = _lines = _whole = kMissing;
        } else if (_depth == 3 && _inFiles) {
            _field = iName == "run" ? &_run : iName == "lines" ? &_lines : iName == "whole" ? &_whole : nullptr;
        }
    }
    void String(std::string_view iText) override { Scalar(true, iText); }
    void Number(std::string_view iText) override
    {
        if (_depth == 1 && _member == "mttgen-manifest") {
            _versionSeen = iText == std::to_string(kManifestVersion);
            return;
        }
        Scalar(false, iText);
    }
    void Boolean(bool) override { Scalar(false, std::string_view()); }
    void Null() override { Scalar(false, std::string_view()); }
    bool Close() override
    {
        --_depth;
        if (_depth == 2 && _inFiles) {
            if (_run != kText || _lines != kText) {
                _damaged = _file;
                return false;
            }
            _entries[EncodedName::Decoded(_file)] = std::move(_entry);
        } else if (_depth == 1 && _inFiles) {
            _inFiles = false;
            _filesSeen = true;
        }
        return true;
    }

    // The key of the damaged entry that stopped the reading, or "".
    const std::string& Damaged() const { return _damaged; }
    // Whether the text was shaped as a manifest, its files included.
    bool Whole() const { return _filesSeen && !_misshapen; }

private:
    // What a file's "run" or "lines" was: missing, a text, or anything else.
    enum Field { kMissing, kText, kOther };

    void Open(bool iObject)
    {
        if (_depth == 0 && !iObject) _misshapen = true;
        if (_depth == 1) {
            if (_member == "mttgen-manifest") _versionSeen = false;
            if (_member == "files" && _versionSeen) {
                _inFiles = iObject;
                if (!iObject) _misshapen = true;
            }
        }
        if (_depth == 2 && _inFiles && !iObject) _misshapen = true;
        if (_depth == 3 && _inFiles) Take(kOther, std::string_view());
        ++_depth;
    }

    void Scalar(bool iText, std::string_view iValue)
    {
        if (_depth == 0 || (_depth == 2 && _inFiles)) _misshapen = true;
        if (_depth == 1) {
            if (_member == "mttgen-manifest") _versionSeen = false;
            if (_member == "files" && _versionSeen) _misshapen = true;
        }
        if (_depth == 3 && _inFiles) Take(iText ? kText : kOther, iValue);
    }

    // A member of a file's entry: the first "run" and "lines" count, and
    // lines must be digests.
    void Take(Field iKind, std::string_view iValue)
    {
        if (_field == nullptr || *_field != kMissing) return;
        *_field = iKind;
        if (iKind != kText) return;
        if (_field == &_run) {
            _entry.run = EncodedName::Decoded(iValue);
        } else if (_field == &_whole) {
            uint64_t digest = 0;
            if (FromHex(iValue, digest)) _entry.whole = digest;
        } else if (!FromHex(iValue, _entry.lines)) {
            _lines = kOther;
        }
    }

    std::map<std::string, Manifest::Entry>& _entries;
    int _depth = 0;
    std::string _member;
    bool _versionSeen = false;
    bool _inFiles = false;
    bool _filesSeen = false;
    bool _misshapen = false;
    std::string _file;
    Manifest::Entry _entry;
    Field _run = kMissing;
    Field _lines = kMissing;
    Field _whole = kMissing;
    Field* _field = nullptr;
    std::string _damaged;
};

}  // namespace

bool Manifest::Load(const std::string& iRoot, std::string& oError, const Manifest* iEarlier)
{
    _path = (iRoot.empty() ? std::string(".") : iRoot) + "/" + kFileName;
    _entries.clear();
    _exists = false;
    _textDigest.reset();
    std::string text;
    std::string error;
    switch (TextFile::ReadNoFollow(_path, text, error)) {
    case TextFile::Result::kMissing: return true;
    case TextFile::Result::kFailed: oError = error; return false;
    case TextFile::Result::kRead: break;
    }
    _exists = true;
    const uint64_t digest = Digest::OfFile(text);
    if (iEarlier != nullptr && iEarlier->_path == _path && iEarlier->_textDigest == digest) {
        _entries = iEarlier->_entries;
        _textDigest = digest;
        return true;
    }
    // An editor may have saved it with a byte order mark.
    const std::string_view kOrderMark = "\xEF\xBB\xBF";
    const std::string_view json = std::string_view(text).substr(text.rfind(kOrderMark, 0) == 0 ? kOrderMark.size() : 0);
    ManifestEvents events(_entries);
    const bool read = JsonTextReader::Read(json.data(), json.size(), events);
    if (!events.Damaged().empty()) {
        _entries.clear();
        oError = _path + ": error: the entry of '" + events.Damaged() + "' is damaged";
        return false;
    }
    // The whole text read, and nothing after it: a manifest cut short or
    // with more behind it is not one this mttgen wrote.
    if (!read || !events.Whole()) {
        _entries.clear();
        oError = _path +
                 ": error: not a manifest this mttgen reads (remove it to start afresh; the files it lists are "
                 "then taken as not written by mttgen)";
        return false;
    }
    _textDigest = digest;
    return true;
}

const Manifest::Entry* Manifest::Find(const std::string& iRelative) const
{
    auto found = _entries.find(iRelative);
    return found == _entries.end() ? nullptr : &found->second;
}

std::string Manifest::Text() const
{
    std::string text = "{\"mttgen-manifest\": " + std::to_string(kManifestVersion) +
                       ",\n \"about\": \"What mttgen generated in this folder: the next run tells hand edits and files "
                       "whose model element has gone by it. Keep it with the files.\",\n \"files\": {";
    // Reserved once: the digests of a large file run to megabytes, which
    // growing by doubling would hold twice over.
    size_t size = text.size() + 8;
    for (const auto& entry : _entries)
        size += 96 + 2 * (entry.first.size() + entry.second.run.size()) + 8 * entry.second.lines.size();
    text.reserve(size);
    bool first = true;
    for (const auto& entry : _entries) {
        text += first ? "\n  " : ",\n  ";
        first = false;
        AppendQuoted(EncodedName::Of(entry.first), text);
        text += ": {\"run\": ";
        AppendQuoted(EncodedName::Of(entry.second.run), text);
        if (entry.second.whole) {
            text += ", \"whole\": \"";
            AppendHex(*entry.second.whole, text);
            text += '"';
        }
        text += ", \"lines\": \"";
        AppendHex(entry.second.lines, text);
        text += "\"}";
    }
    text += "\n }}\n";
    return text;
}
