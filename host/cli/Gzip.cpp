#include "Gzip.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>

#include <isa-l/igzip_lib.h>

namespace {

// Input is handed over in parts of at most this, since the library counts
// it in 32 bits.
const size_t kMostAtOnce = size_t(1) << 30;
// Inputs up to this are compressed in one call.
const size_t kJoinedUpTo = size_t(1) << 20;

struct Compressor {
    isal_zstream stream;
    uint8_t level[ISAL_DEF_LVL1_DEFAULT];
};

// Room at the end of oOut for more output: the unused part, or as much
// again as there is.
void MakeRoom(std::string& ioOut, size_t iUsed, uint8_t*& oNext, uint32_t& oAvailable)
{
    if (iUsed == ioOut.size()) ioOut.resize(std::max<size_t>(2 * ioOut.size(), 4096));
    oNext = reinterpret_cast<uint8_t*>(&ioOut[iUsed]);
    oAvailable = static_cast<uint32_t>(std::min(ioOut.size() - iUsed, kMostAtOnce));
}

}  // namespace

std::string Gzip::Of(const std::vector<std::string_view>& iPieces)
{
    size_t size = 0;
    for (const std::string_view& piece : iPieces) size += piece.size();
    // The stream's state and the level's buffer take some 360 KB: made
    // once a thread, since a run of many small files packs a table each
    // (taken and given back each time, they left holes in the heap).
    thread_local std::unique_ptr<Compressor> compressor;
    if (!compressor) compressor.reset(new Compressor);
    isal_zstream* const stream = &compressor->stream;
    isal_deflate_init(stream);
    stream->level = 1;
    stream->level_buf = compressor->level;
    stream->level_buf_size = ISAL_DEF_LVL1_DEFAULT;
    stream->gzip_flag = IGZIP_GZIP;
    stream->flush = NO_FLUSH;
    // The page's tables shrink to a tenth or less; a header and a block
    // or two is what a small one takes.
    std::string out(size / 8 + 1024, '\0');
    size_t used = 0;
    const auto compress = [&](const uint8_t* iBytes, size_t iSize, bool iLast) {
        stream->next_in = const_cast<uint8_t*>(iBytes);
        stream->avail_in = static_cast<uint32_t>(iSize);
        stream->end_of_stream = iLast ? 1 : 0;
        for (;;) {
            MakeRoom(out, used, stream->next_out, stream->avail_out);
            const uint32_t room = stream->avail_out;
            if (isal_deflate(stream) != COMP_OK) throw std::runtime_error("gzip failed");
            used += room - stream->avail_out;
            const bool done = iLast ? stream->internal_state.state == ZSTATE_END : stream->avail_in == 0;
            if (done) break;
        }
    };
    // A call ends a block, and a block's header costs more than a small
    // input's copy (a table of 252 bytes took 131 in pieces, 88 whole).
    if (size <= kJoinedUpTo) {
        std::string joined;
        joined.reserve(size);
        for (const std::string_view& piece : iPieces) joined += piece;
        compress(reinterpret_cast<const uint8_t*>(joined.data()), joined.size(), true);
    } else {
        for (const std::string_view& piece : iPieces) {
            for (size_t at = 0; at < piece.size(); at += kMostAtOnce) {
                compress(reinterpret_cast<const uint8_t*>(piece.data()) + at, std::min(piece.size() - at, kMostAtOnce),
                         false);
            }
        }
        compress(nullptr, 0, true);
    }
    out.resize(used);
    return out;
}

bool Gzip::Inflate(std::string_view iGzip, std::string& oBytes)
{
    if (iGzip.size() >= kMostAtOnce) return false;
    std::unique_ptr<inflate_state> state(new inflate_state);
    isal_inflate_init(state.get());
    state->crc_flag = ISAL_GZIP;
    state->next_in = const_cast<uint8_t*>(reinterpret_cast<const uint8_t*>(iGzip.data()));
    state->avail_in = static_cast<uint32_t>(iGzip.size());
    oBytes.assign(std::max<size_t>(4 * iGzip.size(), 4096), '\0');
    size_t used = 0;
    for (;;) {
        MakeRoom(oBytes, used, state->next_out, state->avail_out);
        const uint32_t room = state->avail_out;
        const int status = isal_inflate(state.get());
        used += room - state->avail_out;
        if (status != ISAL_DECOMP_OK) return false;
        if (state->block_state == ISAL_BLOCK_FINISH) break;
        // Input used up before the end: a truncated member.
        if (state->avail_in == 0 && state->avail_out > 0) return false;
    }
    oBytes.resize(used);
    // One member, with nothing after it.
    return state->avail_in == 0;
}
