#include "LargePageHeap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

void LargePageHeap::Prepare(size_t iBytes)
{
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    const uintptr_t kLargePage = uintptr_t(2) << 20;
    const size_t kMaxPad = size_t(1) << 30;
    if (iBytes > kMaxPad) iBytes = kMaxPad;
    // The heap grows by iBytes at once and is never trimmed; blocks up to
    // 32 MiB (the texts) come from it rather than from maps of their own.
    if (mallopt(M_TOP_PAD, static_cast<int>(iBytes)) == 0 || mallopt(M_TRIM_THRESHOLD, INT_MAX) == 0 ||
        mallopt(M_MMAP_THRESHOLD, 32 << 20) == 0) {
        return;
    }
    const uintptr_t before = reinterpret_cast<uintptr_t>(sbrk(0));
    // volatile: a block nobody reads could be optimised away with its call.
    void* volatile grow = std::malloc(1 << 20);
    const uintptr_t after = reinterpret_cast<uintptr_t>(sbrk(0));
    std::free(grow);
    mallopt(M_TOP_PAD, 128 << 10);
    const uintptr_t begin = (before + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t end = after & ~(kLargePage - 1);
    // Advice only: where it is refused, the heap works as before.
    if (before != uintptr_t(-1) && end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)iBytes;
#endif
}
