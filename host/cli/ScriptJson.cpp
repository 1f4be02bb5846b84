#include "ScriptJson.h"

#include <algorithm>
#include <cstdio>

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
    oUnits.clear();
    oUnits.reserve(iBytes.size());
    if (ioOut != nullptr) {
        ioOut->reserve(ioOut->size() + iText.size() + iText.size() / 16 + 2);
        *ioOut += '"';
    }
    size_t next = 0;   // the first offset of iBytes not answered yet
    size_t shift = 0;  // units minus bytes so far
    const size_t size = iText.size();
    for (size_t at = 0; at < size;) {
        // A run of plain bytes: one unit each, copied at once.
        size_t run = at;
        while (run < size && IsPlain(iText[run])) ++run;
        if (run > at) {
            for (; next < iBytes.size() && iBytes[next] < run; ++next) oUnits.push_back(iBytes[next] + shift);
            if (ioOut != nullptr) ioOut->append(iText.data() + at, run - at);
            at = run;
            continue;
        }
        const size_t valid = SequenceLength(iText, at);
        const size_t length = valid == 0 ? 1 : valid;
        const uint32_t units = static_cast<uint32_t>(at + shift);
        for (; next < iBytes.size() && iBytes[next] < at + length; ++next) oUnits.push_back(units);
        if (ioOut != nullptr) {
            const char c = iText[at];
            if (valid == 0) {
                *ioOut += "\xef\xbf\xbd";
            } else if (valid > 1) {
                ioOut->append(iText.data() + at, valid);
            } else if (c == '"' || c == '\\') {
                *ioOut += '\\';
                *ioOut += c;
            } else if (c == '\n') {
                *ioOut += "\\n";
            } else {
                char escaped[7];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                *ioOut += escaped;
            }
        }
        // One unit for the character, two beyond the first plane; shift
        // keeps units = bytes + shift.
        const size_t charUnits = valid == 4 ? 2 : 1;
        shift = shift + charUnits - length;
        at += length;
    }
    for (; next < iBytes.size(); ++next) oUnits.push_back(static_cast<uint32_t>(size + shift));
    if (ioOut != nullptr) *ioOut += '"';
}
