#ifndef UTF8TEXT_H
#define UTF8TEXT_H

#include <string>

// UTF-8 as the one-pass readers write what escapes name.
class Utf8Text {
public:
    // Appends code point iCode (at most U+10FFFF, not a surrogate).
    static void Append(std::string& ioText, char32_t iCode)
    {
        if (iCode < 0x80) {
            ioText += static_cast<char>(iCode);
        } else if (iCode < 0x800) {
            ioText += static_cast<char>(0xC0 | iCode >> 6);
            ioText += static_cast<char>(0x80 | (iCode & 0x3F));
        } else if (iCode < 0x10000) {
            ioText += static_cast<char>(0xE0 | iCode >> 12);
            ioText += static_cast<char>(0x80 | (iCode >> 6 & 0x3F));
            ioText += static_cast<char>(0x80 | (iCode & 0x3F));
        } else {
            ioText += static_cast<char>(0xF0 | iCode >> 18);
            ioText += static_cast<char>(0x80 | (iCode >> 12 & 0x3F));
            ioText += static_cast<char>(0x80 | (iCode >> 6 & 0x3F));
            ioText += static_cast<char>(0x80 | (iCode & 0x3F));
        }
    }
};

#endif
