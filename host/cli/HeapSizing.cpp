#include "HeapSizing.h"

#include <climits>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void HeapSizing::Prepare(size_t iBytes)
{
#if defined(__GLIBC__)
    const size_t kMaxPad = size_t(1) << 30;
    if (iBytes > kMaxPad) iBytes = kMaxPad;
    // One arena for every thread: what the explain page's thread frees is
    // then reused by the evaluation, rather than kept in an arena of its own
    // (14 MB more at the peak of a page of 20,000 classes).
    mallopt(M_ARENA_MAX, 1);
    if (mallopt(M_TOP_PAD, static_cast<int>(iBytes)) == 0 || mallopt(M_TRIM_THRESHOLD, INT_MAX) == 0 ||
        mallopt(M_MMAP_THRESHOLD, 32 << 20) == 0) {
        return;
    }
    // volatile: a block nobody reads could be optimised away with its call.
    void* volatile grow = std::malloc(1 << 20);
    std::free(grow);
    mallopt(M_TOP_PAD, 128 << 10);
#else
    (void)iBytes;
#endif
}

void HeapSizing::Loaded()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
