#include "Gzip.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
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
// Inputs up to this get deflate's fixed codes (ISA-L's level 0): codes of
// their own take longer to make than such an input to pack, and the page's
// small tables (a file's pieces, mostly) come out about as small. 10,000
// tables of some 470 bytes: 3.4 ms rather than 34, 1.218 MB either way; a
// kilobyte cut from a large table of pieces, 148 bytes rather than 118.
const size_t kFixedCodesUpTo = 1024;

struct Compressor {
    isal_zstream stream;
    uint8_t level[ISAL_DEF_LVL1_DEFAULT];
};

// ISA-L 2.30's level-1 body, at a stream's first byte, hashes the stream's
// address where it means the input's third position: the same input came
// out in other bytes (as valid) wherever the state lay, so a page changed
// from run to run. The body leaves a flushed input's last 16 bytes to the
// part that hashes them right, which also starts the history: a stream's
// first bytes go alone, flushed, and the body never sees a stream without
// history. It costs a block's end, some ten bytes.
const size_t kFirstBytes = 16;

// Room at the end of oOut for more output: the unused part, or as much
// again as there is.
void MakeRoom(std::string& ioOut, size_t iUsed, uint8_t*& oNext, uint32_t& oAvailable)
{
    if (iUsed == ioOut.size()) ioOut.resize(std::max<size_t>(2 * ioOut.size(), 4096));
    oNext = reinterpret_cast<uint8_t*>(&ioOut[iUsed]);
    oAvailable = static_cast<uint32_t>(std::min(ioOut.size() - iUsed, kMostAtOnce));
}

enum class Then { kMore, kFlush, kEnd };

// Feeds a set-up stream iSize more bytes of its member, its output going to
// ioOut from ioUsed on; then more to come, a flush, or the member's end.
void Feed(isal_zstream& ioStream, std::string& ioOut, size_t& ioUsed, const void* iBytes, size_t iSize, Then iThen)
{
    ioStream.next_in = static_cast<uint8_t*>(const_cast<void*>(iBytes));
    ioStream.avail_in = static_cast<uint32_t>(iSize);
    ioStream.end_of_stream = iThen == Then::kEnd ? 1 : 0;
    ioStream.flush = iThen == Then::kFlush ? SYNC_FLUSH : NO_FLUSH;
    for (;;) {
        MakeRoom(ioOut, ioUsed, ioStream.next_out, ioStream.avail_out);
        const uint32_t room = ioStream.avail_out;
        if (isal_deflate(&ioStream) != COMP_OK) throw std::runtime_error("gzip failed");
        ioUsed += room - ioStream.avail_out;
        const isal_zstate_state state = ioStream.internal_state.state;
        const bool done = iThen == Then::kEnd     ? state == ZSTATE_END
                          : iThen == Then::kFlush ? ioStream.avail_in == 0 && state == ZSTATE_NEW_HDR
                                                  : ioStream.avail_in == 0;
        if (done) return;
    }
}

// Room for a member of iSize bytes: the page's tables shrink to a tenth or
// less; a header and a block or two is what a small one takes.
std::string OutputFor(size_t iSize)
{
    return std::string(iSize / 8 + 1024, '\0');
}

size_t SizeOf(const std::vector<std::string_view>& iPieces)
{
    size_t size = 0;
    for (const std::string_view& piece : iPieces) size += piece.size();
    return size;
}

// The next iSize bytes of a source, joined (fewer should it end); a call
// ends a block, and a block's header costs more than a small input's copy
// (a table of 252 bytes took 131 in pieces, 88 whole).
std::string Joined(size_t iSize, const Gzip::NextPiece& iNext)
{
    std::string joined;
    joined.reserve(iSize);
    while (joined.size() < iSize) {
        const std::string_view piece = iNext();
        if (piece.empty()) break;
        joined.append(piece);
    }
    return joined;
}

// A source of the pieces of a list, the empty ones passed over.
Gzip::NextPiece PiecesOf(const std::vector<std::string_view>& iPieces)
{
    return [&iPieces, next = size_t(0)]() mutable {
        while (next < iPieces.size() && iPieces[next].empty()) ++next;
        return next < iPieces.size() ? iPieces[next++] : std::string_view();
    };
}

}  // namespace

const size_t Gzip::kStateBytes = sizeof(Compressor);

std::string Gzip::Of(const std::vector<std::string_view>& iPieces)
{
    return Of(SizeOf(iPieces), PiecesOf(iPieces));
}

std::string Gzip::Of(size_t iSize, const NextPiece& iNext)
{
    // The stream's state and the level's buffer take some 360 KB: made
    // once a thread, since a run of many small files packs a table each
    // (taken and given back each time, they left holes in the heap).
    thread_local std::unique_ptr<Compressor> compressor;
    if (!compressor) compressor.reset(new Compressor);
    if (iSize > kFixedCodesUpTo) return Coded(iSize, iNext, compressor.get());
    isal_zstream& stream = compressor->stream;
    isal_deflate_init(&stream);
    isal_deflate_set_hufftables(&stream, nullptr, IGZIP_HUFFTABLE_STATIC);
    stream.gzip_flag = IGZIP_GZIP;
    std::string out = OutputFor(iSize);
    size_t used = 0;
    const std::string joined = Joined(iSize, iNext);
    Feed(stream, out, used, joined.data(), joined.size(), Then::kEnd);
    out.resize(used);
    return out;
}

std::string Gzip::Coded(const std::vector<std::string_view>& iPieces, void* ioState)
{
    return Coded(SizeOf(iPieces), PiecesOf(iPieces), ioState);
}

std::string Gzip::Coded(size_t iSize, const NextPiece& iNext, void* ioState)
{
    Compressor& compressor = *static_cast<Compressor*>(ioState);
    isal_zstream& stream = compressor.stream;
    isal_deflate_init(&stream);
    stream.level = 1;
    stream.level_buf = compressor.level;
    stream.level_buf_size = ISAL_DEF_LVL1_DEFAULT;
    stream.gzip_flag = IGZIP_GZIP;
    std::string out = OutputFor(iSize);
    size_t used = 0;
    // The first bytes alone (see kFirstBytes), gathered from however many
    // pieces; an input of kFirstBytes or fewer never reaches the body.
    // rest: what is left of the piece they were taken from.
    std::string_view rest;
    size_t fed = 0;
    if (iSize > kFirstBytes) {
        uint8_t first[kFirstBytes];
        while (fed < kFirstBytes) {
            rest = iNext();
            if (rest.empty()) break;
            const size_t taken = std::min(rest.size(), kFirstBytes - fed);
            std::memcpy(first + fed, rest.data(), taken);
            fed += taken;
            rest.remove_prefix(taken);
        }
        Feed(stream, out, used, first, fed, Then::kFlush);
    }
    if (iSize <= kJoinedUpTo) {
        std::string joined(rest);
        joined += Joined(iSize - fed - rest.size(), iNext);
        Feed(stream, out, used, joined.data(), joined.size(), Then::kEnd);
    } else {
        while (fed < iSize) {
            if (rest.empty()) rest = iNext();
            if (rest.empty()) break;
            for (size_t at = 0; at < rest.size(); at += kMostAtOnce) {
                Feed(stream, out, used, rest.data() + at, std::min(rest.size() - at, kMostAtOnce), Then::kMore);
            }
            fed += rest.size();
            rest = std::string_view();
        }
        Feed(stream, out, used, nullptr, 0, Then::kEnd);
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
