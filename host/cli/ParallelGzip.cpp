#include "ParallelGzip.h"

#include <algorithm>
#include <future>
#include <memory>
#include <stdexcept>
#include <system_error>

#include <zlib.h>

namespace {

// A raw deflate stream of the bytes from iBegin to iEnd of iPieces end to
// end, and their CRC-32; the last ends the data, another ends on a byte
// boundary so that the next stream can follow it.
struct Half {
    std::string deflated;
    uLong crc = 0;
    size_t size = 0;
};

Half Deflate(const std::vector<std::string_view>& iPieces, size_t iBegin, size_t iEnd, bool iLast)
{
    Half half;
    half.size = iEnd - iBegin;
    half.crc = crc32(0, Z_NULL, 0);
    z_stream stream{};
    if (deflateInit2(&stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::bad_alloc();
    // Room for all of it, and for the empty block that ends a half.
    const size_t bound = deflateBound(&stream, half.size) + 16;
    std::unique_ptr<unsigned char[]> out(new unsigned char[bound]);
    stream.next_out = out.get();
    stream.avail_out = static_cast<uInt>(bound);
    size_t at = 0;  // where the current piece begins
    for (const std::string_view& piece : iPieces) {
        const size_t from = std::max(iBegin, at), to = std::min(iEnd, at + piece.size());
        if (from < to) {
            const unsigned char* bytes = reinterpret_cast<const unsigned char*>(piece.data()) + (from - at);
            half.crc = crc32(half.crc, bytes, static_cast<uInt>(to - from));
            stream.next_in = const_cast<unsigned char*>(bytes);
            stream.avail_in = static_cast<uInt>(to - from);
            deflate(&stream, Z_NO_FLUSH);
        }
        at += piece.size();
    }
    stream.avail_in = 0;
    const int status = deflate(&stream, iLast ? Z_FINISH : Z_SYNC_FLUSH);
    deflateEnd(&stream);
    if (status != (iLast ? Z_STREAM_END : Z_OK) || stream.avail_in != 0) throw std::runtime_error("deflate failed");
    half.deflated.assign(reinterpret_cast<const char*>(out.get()), bound - stream.avail_out);
    return half;
}

void AppendLittleEndian(std::string& ioOut, uLong iValue)
{
    for (int byte = 0; byte < 4; ++byte) ioOut += static_cast<char>((iValue >> (8 * byte)) & 0xff);
}

}  // namespace

std::string ParallelGzip::Of(const std::vector<std::string_view>& iPieces, size_t iSplitFrom)
{
    size_t size = 0;
    for (const std::string_view& piece : iPieces) size += piece.size();
    const size_t middle = size >= iSplitFrom ? size / 2 : size;
    std::future<Half> second;
    if (middle < size) {
        try {
            second = std::async(std::launch::async, Deflate, std::cref(iPieces), middle, size, true);
        } catch (const std::system_error&) {
            // No thread to be had: the second half on this one, after the first.
        }
    }
    const Half first = Deflate(iPieces, 0, middle, middle == size);
    Half rest;
    if (middle < size) rest = second.valid() ? second.get() : Deflate(iPieces, middle, size, true);
    // The header zlib writes at its fastest level: no name, no time, Unix.
    std::string gzip("\x1f\x8b\x08\x00\x00\x00\x00\x00\x04\x03", 10);
    gzip.reserve(gzip.size() + first.deflated.size() + rest.deflated.size() + 8);
    gzip += first.deflated;
    gzip += rest.deflated;
    AppendLittleEndian(gzip,
                       middle < size ? crc32_combine(first.crc, rest.crc, static_cast<z_off_t>(rest.size)) : first.crc);
    AppendLittleEndian(gzip, static_cast<uLong>(size & 0xffffffffu));
    return gzip;
}
