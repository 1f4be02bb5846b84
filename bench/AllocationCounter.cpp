#include "AllocationCounter.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include <malloc.h>

namespace {

bool gCounting = false;
AllocationCounter::Figures gFigures;

}  // namespace

#if MTT_BENCH_COUNT_ALLOCATIONS

extern "C" {
void* __libc_malloc(size_t iSize);
void* __libc_calloc(size_t iCount, size_t iSize);
void* __libc_realloc(void* iBlock, size_t iSize);
void* __libc_memalign(size_t iAlignment, size_t iSize);
void __libc_free(void* iBlock);
}

namespace {

inline void CountAllocation(void* iBlock)
{
    if (!gCounting || iBlock == nullptr) return;
    std::int64_t size = static_cast<std::int64_t>(malloc_usable_size(iBlock));
    gFigures.allocations++;
    gFigures.allocatedBytes += static_cast<std::uint64_t>(size);
    gFigures.liveBytes += size;
    if (gFigures.liveBytes > gFigures.peakBytes) gFigures.peakBytes = gFigures.liveBytes;
}

inline void CountFree(void* iBlock)
{
    if (!gCounting || iBlock == nullptr) return;
    gFigures.frees++;
    gFigures.liveBytes -= static_cast<std::int64_t>(malloc_usable_size(iBlock));
}

}  // namespace

#define MTT_BENCH_PUBLIC __attribute__((visibility("default")))

extern "C" {

MTT_BENCH_PUBLIC void* malloc(size_t iSize)
{
    void* block = __libc_malloc(iSize);
    CountAllocation(block);
    return block;
}

MTT_BENCH_PUBLIC void* calloc(size_t iCount, size_t iSize)
{
    void* block = __libc_calloc(iCount, iSize);
    CountAllocation(block);
    return block;
}

// Every realloc that yields a block counts as one allocation. A block that
// moved counts in full, and the peak sees old and new together, as they
// briefly were; a block resized in place counts only its growth.
MTT_BENCH_PUBLIC void* realloc(void* iBlock, size_t iSize)
{
    if (!gCounting) return __libc_realloc(iBlock, iSize);
    std::int64_t oldSize = iBlock == nullptr ? 0 : static_cast<std::int64_t>(malloc_usable_size(iBlock));
    void* block = __libc_realloc(iBlock, iSize);
    if (block == nullptr) {
        if (iSize == 0 && iBlock != nullptr) {  // realloc(p, 0) frees p
            gFigures.frees++;
            gFigures.liveBytes -= oldSize;
        }
        return block;
    }
    std::int64_t newSize = static_cast<std::int64_t>(malloc_usable_size(block));
    gFigures.allocations++;
    if (block == iBlock) {
        if (newSize > oldSize) gFigures.allocatedBytes += static_cast<std::uint64_t>(newSize - oldSize);
        gFigures.liveBytes += newSize - oldSize;
    } else {
        gFigures.allocatedBytes += static_cast<std::uint64_t>(newSize);
        gFigures.liveBytes += newSize;
        if (iBlock != nullptr) {
            if (gFigures.liveBytes > gFigures.peakBytes) gFigures.peakBytes = gFigures.liveBytes;
            gFigures.frees++;
            gFigures.liveBytes -= oldSize;
        }
    }
    if (gFigures.liveBytes > gFigures.peakBytes) gFigures.peakBytes = gFigures.liveBytes;
    return block;
}

MTT_BENCH_PUBLIC void free(void* iBlock)
{
    CountFree(iBlock);
    __libc_free(iBlock);
}

MTT_BENCH_PUBLIC void* memalign(size_t iAlignment, size_t iSize)
{
    void* block = __libc_memalign(iAlignment, iSize);
    CountAllocation(block);
    return block;
}

MTT_BENCH_PUBLIC void* aligned_alloc(size_t iAlignment, size_t iSize)
{
    return memalign(iAlignment, iSize);
}

MTT_BENCH_PUBLIC int posix_memalign(void** oBlock, size_t iAlignment, size_t iSize)
{
    if (iAlignment < sizeof(void*) || (iAlignment & (iAlignment - 1)) != 0) return 22;  // EINVAL
    void* block = memalign(iAlignment, iSize);
    if (block == nullptr) return 12;  // ENOMEM
    *oBlock = block;
    return 0;
}

}  // extern "C"

// The plain forms of operator new/delete go straight to the counting
// malloc/free; the aligned forms are left to the runtime, which calls
// aligned_alloc and free above.
MTT_BENCH_PUBLIC void* operator new(std::size_t iSize)
{
    void* block = malloc(iSize == 0 ? 1 : iSize);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}
MTT_BENCH_PUBLIC void* operator new[](std::size_t iSize)
{
    return operator new(iSize);
}
MTT_BENCH_PUBLIC void* operator new(std::size_t iSize, const std::nothrow_t&) noexcept
{
    return malloc(iSize == 0 ? 1 : iSize);
}
MTT_BENCH_PUBLIC void* operator new[](std::size_t iSize, const std::nothrow_t&) noexcept
{
    return malloc(iSize == 0 ? 1 : iSize);
}
MTT_BENCH_PUBLIC void operator delete(void* iBlock) noexcept
{
    free(iBlock);
}
MTT_BENCH_PUBLIC void operator delete[](void* iBlock) noexcept
{
    free(iBlock);
}
MTT_BENCH_PUBLIC void operator delete(void* iBlock, std::size_t) noexcept
{
    free(iBlock);
}
MTT_BENCH_PUBLIC void operator delete[](void* iBlock, std::size_t) noexcept
{
    free(iBlock);
}
MTT_BENCH_PUBLIC void operator delete(void* iBlock, const std::nothrow_t&) noexcept
{
    free(iBlock);
}
MTT_BENCH_PUBLIC void operator delete[](void* iBlock, const std::nothrow_t&) noexcept
{
    free(iBlock);
}

// Under valgrind, whose allocator takes the place of these functions, the
// counts would silently stay at zero: a probe tells.
bool AllocationCounter::Enabled()
{
    static const bool sSeesAllocations = [] {
        // Through a shared library, the way the libraries allocate.
        Start();
        char* volatile probe = strdup("an allocation made inside the C library");
        Stop();
        free(probe);
        return gFigures.allocations == 1;
    }();
    return sSeesAllocations;
}

#else

bool AllocationCounter::Enabled()
{
    return false;
}

#endif

void AllocationCounter::Start()
{
    gFigures = Figures();
    gCounting = true;
}

void AllocationCounter::Stop()
{
    gCounting = false;
}

AllocationCounter::Figures AllocationCounter::Current()
{
    return gFigures;
}
