#ifndef GZIP_H
#define GZIP_H

#include <string>
#include <string_view>
#include <vector>

// gzip for the explain page's tables, made at ISA-L's fastest level: on
// the page's tables it is several times quicker than zlib's fastest and
// smaller, so a table of millions of numbers is packed on one thread.
// Any gzip reader (the browser's DecompressionStream) takes it.
class Gzip {
public:
    // One gzip member of iPieces end to end.
    static std::string Of(const std::vector<std::string_view>& iPieces);
    // What the gzip member iGzip holds; false, with oBytes unspecified, when
    // iGzip is not one whole member whose checksum and size hold.
    static bool Inflate(std::string_view iGzip, std::string& oBytes);
};

#endif
