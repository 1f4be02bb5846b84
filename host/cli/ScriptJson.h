#ifndef SCRIPTJSON_H
#define SCRIPTJSON_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// JSON strings for data embedded in an HTML <script> element. "<" is
// always escaped, so no text can close the element early, and bytes that
// are not UTF-8 become U+FFFD, so the page parses whatever the text held.
// A browser counts string positions in UTF-16 code units, not bytes:
// AppendString also tells where given byte offsets land in those units,
// decoding the text exactly as it writes it.
class ScriptJson {
public:
    static void AppendString(std::string& ioOut, std::string_view iText);
    // iBytes: ascending byte offsets into iText (iText.size() allowed);
    // oUnits receives, for each, the UTF-16 offset of the character that
    // holds that byte (the length in units for iText.size()).
    static void AppendString(std::string& ioOut, std::string_view iText, const std::vector<uint32_t>& iBytes,
                             std::vector<uint32_t>& oUnits);
    // Whether every byte of iText is one unit.
    static bool IsAscii(std::string_view iText);
    // The same offsets without writing anything; oUnits may be iBytes.
    static void Units(std::string_view iText, const std::vector<uint32_t>& iBytes, std::vector<uint32_t>& oUnits);

private:
    static void Convert(std::string* ioOut, std::string_view iText, const std::vector<uint32_t>& iBytes,
                        std::vector<uint32_t>& oUnits);
};

#endif
