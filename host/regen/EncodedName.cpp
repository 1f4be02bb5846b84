#include "EncodedName.h"

#include <cctype>
#include <cstdio>

#include "mtt_transform_escapes.h"

namespace {

bool IsUtf8(const std::string& iText)
{
    for (size_t i = 0; i < iText.size();) {
        if (static_cast<unsigned char>(iText[i]) < 0x80) {
            ++i;
            continue;
        }
        unsigned long code = 0;
        const size_t length = mtt_runtime::TransformEscapes::DecodeUtf8(iText, i, code);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

}  // namespace

std::string EncodedName::Of(const std::string& iName)
{
    const bool utf8 = IsUtf8(iName);
    std::string encoded;
    for (const char c : iName) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '%' || byte < 0x20 || byte == 0x7f || (!utf8 && byte >= 0x80)) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            encoded += hex;
        } else {
            encoded += c;
        }
    }
    return encoded;
}

std::string EncodedName::Decoded(std::string_view iText)
{
    std::string decoded;
    for (size_t i = 0; i < iText.size(); ++i) {
        if (iText[i] == '%' && i + 2 < iText.size() && std::isxdigit(static_cast<unsigned char>(iText[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(iText[i + 2]))) {
            decoded += static_cast<char>(std::stoi(std::string(iText.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            decoded += iText[i];
        }
    }
    return decoded;
}
