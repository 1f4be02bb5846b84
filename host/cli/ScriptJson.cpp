#include "ScriptJson.h"

#include <cstdio>

namespace {

// The length of the valid UTF-8 sequence at iText[iAt], or 0.
size_t SequenceLength(std::string_view iText, size_t iAt) {
    const unsigned char lead = static_cast<unsigned char>(iText[iAt]);
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;
    if (lead < 0x80) return 1;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0) low = 0xa0;   // no overlong forms
        if (lead == 0xed) high = 0x9f;  // no surrogates
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0) low = 0x90;
        if (lead == 0xf4) high = 0x8f;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (iAt + length > iText.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(iText[iAt + i]);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xbf)) return 0;
    }
    return length;
}

}  // namespace

void ScriptJson::AppendString(std::string& ioOut, std::string_view iText) {
    std::vector<uint32_t> units;
    AppendString(ioOut, iText, {}, units);
}

void ScriptJson::AppendString(std::string& ioOut, std::string_view iText, const std::vector<uint32_t>& iBytes,
                              std::vector<uint32_t>& oUnits) {
    oUnits.clear();
    oUnits.reserve(iBytes.size());
    ioOut += '"';
    size_t next = 0;  // the first offset of iBytes not answered yet
    uint32_t units = 0;
    for (size_t at = 0; at < iText.size();) {
        const size_t valid = SequenceLength(iText, at);
        const size_t length = valid == 0 ? 1 : valid;
        for (; next < iBytes.size() && iBytes[next] < at + length; ++next) oUnits.push_back(units);
        const char c = iText[at];
        if (valid == 0) {
            ioOut += "\xef\xbf\xbd";
        } else if (valid > 1) {
            ioOut.append(iText.data() + at, valid);
        } else if (c == '"' || c == '\\') {
            ioOut += '\\';
            ioOut += c;
        } else if (c == '\n') {
            ioOut += "\\n";
        } else if (c == '<' || static_cast<unsigned char>(c) < 0x20) {
            char escaped[7];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
            ioOut += escaped;
        } else {
            ioOut += c;
        }
        units += valid == 4 ? 2 : 1;
        at += length;
    }
    for (; next < iBytes.size(); ++next) oUnits.push_back(units);
    ioOut += '"';
}
