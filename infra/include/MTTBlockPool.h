#ifndef MTTBLOCKPOOL_H
#define MTTBLOCKPOOL_H

#include <cstddef>

#include "MTTInfraExport.h"

// Recycles fixed-size blocks for the small objects that evaluation creates
// and deletes by the million (output nodes and leaves, scopes, short string
// buffers and child arrays): taking and
// returning a block is a few instructions instead of a trip through the
// general allocator. Each thread keeps its own free list, so no locking is
// needed; a block may be returned on another thread than the one that took
// it. Blocks are carved from large chunks that are kept for reuse until the
// process ends (they stay reachable, so leak checkers do not report them).
//
// Usage, in a class whose objects are pooled:
//   static void* operator new(size_t iSize) { return MTTBlockPool::Allocate(iSize); }
//   static void operator delete(void* iBlock, size_t iSize) { MTTBlockPool::Release(iBlock, iSize); }
// Sizes above kMaxBlockSize go to the global allocator, and so does
// everything in debug and address-sanitizer builds, where the checkers must
// see each object's own allocation to find leaks and stale pointers.
class MTTINFRA_EXPORT MTTBlockPool {
public:
    static const size_t kMaxBlockSize = 128;

    static void* Allocate(size_t iSize);
    static void Release(void* iBlock, size_t iSize);

    // The pool itself, whatever the build: for the two above and for tests.
    static void* Take(size_t iSize);
    static void Give(void* iBlock, size_t iSize);
};

#endif
