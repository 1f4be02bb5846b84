#ifndef GZIP_H
#define GZIP_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// gzip for the explain page's tables, made with ISA-L: on the page's
// tables it is several times quicker than zlib's fastest and smaller, so a
// table of millions of numbers is packed on one thread. Any gzip reader
// (the browser's DecompressionStream) takes it.
class Gzip {
public:
    // The room for a compressor's state: some 360 KB.
    static const size_t kStateBytes;

    // One gzip member of iPieces end to end, the same bytes for the same
    // pieces: a small input with deflate's fixed codes, a larger one as
    // Coded does, in a state made once a thread.
    static std::string Of(const std::vector<std::string_view>& iPieces);
    // The same for iSize bytes that iNext hands over a piece at a time (a
    // piece lives until the next call): a large input that is not held
    // whole anywhere. The pieces need not be those Of would be given.
    using NextPiece = std::function<std::string_view()>;
    static std::string Of(size_t iSize, const NextPiece& iNext);
    // One gzip member with codes made for iPieces, whatever their size
    // (ISA-L's level 1), in the state at ioState (kStateBytes, aligned for
    // any type): the same bytes wherever the state lies.
    static std::string Coded(const std::vector<std::string_view>& iPieces, void* ioState);
    static std::string Coded(size_t iSize, const NextPiece& iNext, void* ioState);
    // What the gzip member iGzip holds; false, with oBytes unspecified, when
    // iGzip is not one whole member whose checksum and size hold.
    static bool Inflate(std::string_view iGzip, std::string& oBytes);
};

#endif
