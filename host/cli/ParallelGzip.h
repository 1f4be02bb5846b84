#ifndef PARALLELGZIP_H
#define PARALLELGZIP_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// gzip at zlib's fastest level, a large input in two halves at once: each
// half is its own raw deflate stream, the first ended on a byte boundary
// without closing the data, so that the two read as one stream and the
// file is one gzip member, as a single compressor would make (their
// checksums are combined). Any gzip reader takes it.
class ParallelGzip {
public:
    // From this many bytes the halves are compressed on two threads.
    static constexpr size_t kSplitFrom = size_t(1) << 20;

    // The gzip bytes of iPieces end to end.
    static std::string Of(const std::vector<std::string_view>& iPieces, size_t iSplitFrom = kSplitFrom);
};

#endif
