#include "ResidentPages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>

namespace {

// Advises the system of the whole pages inside a block.
void Advise(void* iMemory, std::size_t iBytes, int iAdvice)
{
    const uintptr_t kPage = 4096;
    const uintptr_t from = (reinterpret_cast<uintptr_t>(iMemory) + kPage - 1) & ~(kPage - 1);
    const uintptr_t to = (reinterpret_cast<uintptr_t>(iMemory) + iBytes) & ~(kPage - 1);
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, iAdvice);
}

}  // namespace

void ResidentPages::Make(void* iMemory, std::size_t iBytes)
{
#if defined(MADV_POPULATE_WRITE)
    Advise(iMemory, iBytes, MADV_POPULATE_WRITE);
#else
    // Older kernel headers: the pages fault in as they are written.
    static_cast<void>(iMemory);
    static_cast<void>(iBytes);
#endif
}

void ResidentPages::Release(void* iMemory, std::size_t iBytes)
{
    Advise(iMemory, iBytes, MADV_DONTNEED);
}

#else

// Elsewhere nothing is asked of the system.
void ResidentPages::Make(void*, std::size_t) {}

void ResidentPages::Release(void*, std::size_t) {}

#endif
