#ifndef MTTBLOCKPOOL_H
#define MTTBLOCKPOOL_H

#include <cstddef>
#include <cstdint>

#include "MTTInfraCompiler.h"
#include "MTTInfraExport.h"

// Memory for the small objects that evaluation creates and deletes by the
// million (output nodes and leaves, their child arrays, short string
// buffers): taking a block is a pointer bump, returning one a counter step.
//
// Blocks are carved in order from 64 KiB chunks. Each chunk counts its live
// blocks; a block may be returned in any order and on any thread, and a
// chunk whose count drops to zero goes back to a shared list from which any
// thread takes its next chunk, with its pages still mapped. A thread counts
// the blocks it returns to one chunk locally and settles them with one
// atomic step when it moves on to another chunk or ends, so the memory of
// threads that have ended comes back too. What stays pinned is bounded: a
// chunk is kept only by its own live blocks, by the thread that is carving
// it, or by one thread's unsettled returns. Chunks are never given back to
// the system; they stay reachable, so leak checkers do not report them.
// Fresh memory comes in spans of 2 MiB pages where the system has them
// (Linux): the first render of a process touches tens of megabytes of it,
// and a fault per 4 KiB page would cost that render several times its work.
// Once the pool holds a megabyte, a thread of the pool's own makes the
// next chunks' pages resident ahead of the threads that carve them.
//
// Usage, in a class whose objects are pooled:
//   static void* operator new(size_t iSize) { return MTTBlockPool::Allocate(iSize); }
//   static void operator delete(void* iBlock, size_t iSize) { MTTBlockPool::Release(iBlock, iSize); }
// Sizes above kMaxBlockSize go to the global allocator; from 64 KiB on
// (a render's text), a few returned blocks of each power-of-two size are
// kept, pages mapped, for the next render. Everything goes to the global
// allocator when the build does not pool (the MTT_POOL build option, and
// always under the address sanitizer, which must see each object's own
// allocation to find leaks and stale pointers).
class MTTINFRA_EXPORT MTTBlockPool {
public:
    static const size_t kMaxBlockSize = 256;

    // Inline while the thread's chunk has room, and for returns to the
    // chunk of its latest returns: most calls never leave the caller.
    static void* Allocate(size_t iSize) { return Bump(iSize, AlignmentFor((iSize + 7) & ~uintptr_t(7))); }
    // For objects that need no more than 8-byte alignment (pointers,
    // integers): such blocks follow each other without padding.
    static void* AllocateWords(size_t iSize) { return Bump(iSize, 8); }
    // Like Allocate, for a block that receives iFilled bytes at once (what
    // a growing text copies in): a new large block has that much made
    // resident ahead, where Allocate makes half of it (a block that
    // doubles).
    static void* AllocateToFill(size_t iSize, size_t iFilled);
    // iSize must be the size given to Allocate.
    static void Release(void* iBlock, size_t iSize)
    {
        if (sPooling && iBlock != nullptr && iSize - 1 < kMaxBlockSize) {
            Thread& thread = tThread;
            if ((reinterpret_cast<uintptr_t>(iBlock) & ~uintptr_t(kChunkBytes - 1)) ==
                reinterpret_cast<uintptr_t>(thread.returning)) {
                ++thread.returned;
                return;
            }
        }
        ReleaseSlowly(iBlock, iSize);
    }

    // Grows a block in place to iNewSize when it is the calling thread's
    // latest and its chunk has room after it; false otherwise (the caller
    // then moves it). A list filled in one go thus ends with exactly the
    // room it uses, and no abandoned smaller copies. Both sizes must be
    // pooled sizes; the block keeps its alignment.
    static bool Extend(void* iBlock, size_t iSize, size_t iNewSize)
    {
        if (!sPooling || iBlock == nullptr || iSize - 1 >= kMaxBlockSize || iNewSize > kMaxBlockSize) return false;
        Thread& thread = tThread;
        uintptr_t block = reinterpret_cast<uintptr_t>(iBlock);
        uintptr_t grown = block + ((iNewSize + 7) & ~uintptr_t(7));
        if (block + ((iSize + 7) & ~uintptr_t(7)) != reinterpret_cast<uintptr_t>(thread.bump) ||
            grown > reinterpret_cast<uintptr_t>(thread.end)) {
            return false;
        }
        thread.bump = reinterpret_cast<char*>(grown);
        return true;
    }

    // The pool itself, whatever the build: for the two above and for tests.
    // Blocks are aligned for any object of their size (up to 16 bytes).
    static void* Take(size_t iSize);
    static void Give(void* iBlock, size_t iSize);

    // Gives the system back the whole pages inside the iBytes at iBlock,
    // part of a block the caller holds and will not read again: they read
    // as zeros after, and take memory again only when written. Nothing
    // where the pool does not map its own pages.
    static void DropPages(void* iBlock, size_t iBytes);

    // Whether Allocate uses the pool in this build.
    static bool Pooling() { return sPooling; }
    // Bytes the pool has taken from the system so far.
    static size_t HeldBytes();
    // Bytes in chunks that are ready for reuse.
    static size_t IdleBytes();
    // Settles the calling thread's returns and hands back the chunk it is
    // carving, as happens when the thread ends.
    static void SettleThread();

    static const size_t kChunkBytes = 64 * 1024;

    // What one thread is doing with the pool; only the pool touches it.
    struct Thread {
        char* bump;  // next free byte of the chunk being carved
        char* end;
        void* carving;
        int64_t handedOut;  // blocks carved from it
        void* returning;    // the chunk of the latest returns not yet settled
        int64_t returned;
    };

private:
    static void* Bump(size_t iSize, uintptr_t iAlignment)
    {
        if (sPooling && iSize - 1 < kMaxBlockSize) {
            Thread& thread = tThread;
            uintptr_t rounded = (iSize + 7) & ~uintptr_t(7);
            uintptr_t block = (reinterpret_cast<uintptr_t>(thread.bump) + iAlignment - 1) & ~(iAlignment - 1);
            if (block + rounded <= reinterpret_cast<uintptr_t>(thread.end)) {
                thread.bump = reinterpret_cast<char*>(block + rounded);
                ++thread.handedOut;
                return reinterpret_cast<void*>(block);
            }
        }
        return AllocateSlowly(iSize);
    }
    static void* AllocateSlowly(size_t iSize);
    static void ReleaseSlowly(void* iBlock, size_t iSize);
    // Any type of a given size has an alignment that divides the size.
    static uintptr_t AlignmentFor(uintptr_t iRounded)
    {
        uintptr_t alignment = iRounded & (0 - iRounded);
        return alignment > 16 ? 16 : alignment;
    }

    static const bool sPooling;
    // Plain data at a fixed offset from the thread pointer, so that the
    // inline paths reach it without a call (initial-exec: the library is
    // linked, not loaded late).
    static MTT_FAST_THREAD_LOCAL Thread tThread MTT_INITIAL_EXEC;
};

#endif
