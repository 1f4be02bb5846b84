#include "ScriptJson.h"

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

}  // namespace

void ScriptJson::AppendString(std::string& ioOut, std::string_view iText)
{
    std::vector<uint32_t> units;
    AppendString(ioOut, iText, {}, units);
}

void ScriptJson::AppendString(std::string& ioOut, std::string_view iText, const std::vector<uint32_t>& iBytes,
                              std::vector<uint32_t>& oUnits)
{
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
