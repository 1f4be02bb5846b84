#ifndef ENCODEDNAME_H
#define ENCODEDNAME_H

#include <string>
#include <string_view>

// File names as JSON can hold them, and back, byte for byte: "%", control
// bytes and, in a name that is not UTF-8, every byte above 0x7f become
// %XX. What a run records of its files (the manifest, the commit journal)
// names them so: a name of any bytes must find its file again.
class EncodedName {
public:
    static std::string Of(const std::string& iName);
    static std::string Decoded(std::string_view iText);
};

#endif
