#include "MTTBlockPool.h"
#include "MTTPagePopulator.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#define MTT_POOL_MAPS_PAGES 1
#endif

// The address sanitizer must see every object's own allocation; gcc and
// clang announce it differently.
#if defined(__SANITIZE_ADDRESS__)
#define MTT_POOL_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MTT_POOL_UNDER_ASAN 1
#endif
#endif

namespace {

#if defined(MTT_POOL) && MTT_POOL && !defined(MTT_POOL_UNDER_ASAN)
const bool kPooling = true;
#else
const bool kPooling = false;
#endif

const size_t kChunkBytes = MTTBlockPool::kChunkBytes;
// Added to a chunk's count while a thread carves it, so that it cannot
// drop to zero before the thread has said how many blocks it handed out.
const int64_t kCarvingBias = int64_t(1) << 40;

// The header at the start of every chunk, on a cache line of its own.
struct alignas(64) Chunk {
    std::atomic<int64_t> live;
    Chunk* next;  // in the idle list
};

const size_t kHeaderBytes = sizeof(Chunk);

// Fresh memory comes from the system in spans of whole huge pages, but
// backed by small pages: on a virtual machine a huge page is often memory
// the host has never backed, and zeroing it then ran at a tenth of the
// usual speed (the first tree render of the reference workload took 350 ms
// in half the processes, 66 ms in the others, against 58 ms warm). Small
// pages come from memory the system has just used. Their cost is one fault
// per 4 KiB on first touch (25 000 for that render): chunks are cut from
// pages populated ahead in one call instead (see AcquireChunk). Elsewhere
// the spans come from the C++ allocator.
const size_t kHugePageBytes = size_t(2) << 20;

// iBytes: a multiple of kHugePageBytes. Aligned to kHugePageBytes.
void* TakePages(size_t iBytes)
{
#if defined(MTT_POOL_MAPS_PAGES)
    // Mapped with one huge page to spare, whose unaligned ends go back.
    const size_t mapped = iBytes + kHugePageBytes;
    void* mapping = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) throw std::bad_alloc();
    const uintptr_t start = reinterpret_cast<uintptr_t>(mapping);
    const uintptr_t span = (start + kHugePageBytes - 1) & ~uintptr_t(kHugePageBytes - 1);
    if (span > start) munmap(mapping, span - start);
    const uintptr_t end = start + mapped;
    if (end > span + iBytes) munmap(reinterpret_cast<void*>(span + iBytes), end - span - iBytes);
    return reinterpret_cast<void*>(span);
#else
    void* span = std::aligned_alloc(kHugePageBytes, iBytes);
    if (span == nullptr) throw std::bad_alloc();
    return span;
#endif
}

// Gives back iBytes (a multiple of 4 KiB) at iPages, the whole of what
// TakePages gave or, where pages are mapped, a page-aligned part of it.
void GivePages(void* iPages, size_t iBytes)
{
#if defined(MTT_POOL_MAPS_PAGES)
    munmap(iPages, iBytes);
#else
    static_cast<void>(iBytes);
    std::free(iPages);
#endif
}

// Chunks are cut from spans that double, from one huge page up to 64 MiB,
// and only when needed: a span's pages become resident as chunks are cut.
const size_t kFirstSpanBytes = kHugePageBytes;
const size_t kLastSpanBytes = size_t(64) << 20;
// Chunks' pages are made resident up to this far ahead of need, by the
// thread that cuts them; from the time the pool holds that much (a render
// building a tree), up to kPopulateAheadBytes ahead by the populator's
// thread, which then spares the render the faults.
const size_t kPopulateBytes = size_t(1) << 20;
const size_t kPopulateAheadBytes = size_t(4) << 20;

// Every span taken for chunks, so that all stay reachable.
struct Span {
    char* memory;
    Span* next;
};

struct Registry {
    std::mutex lock;
    Chunk* idle = nullptr;
    size_t idleCount = 0;
    std::atomic<size_t> heldBytes{0};
    Span* spans = nullptr;
    char* spanNext = nullptr;  // the next chunk to cut
    char* spanEnd = nullptr;
    char* populatedEnd = nullptr;  // of the span's pages populated ahead
    size_t nextSpanBytes = kFirstSpanBytes;
};

// Never destroyed: blocks may be returned while the process exits.
Registry& TheRegistry()
{
    static Registry* registry = new Registry();
    return *registry;
}

typedef MTTBlockPool::Thread ThreadState;

void Recycle(Chunk* iChunk)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    iChunk->next = registry.idle;
    registry.idle = iChunk;
    ++registry.idleCount;
}

// Takes iCount off a chunk's count; the step that empties it recycles it.
// Acquire-release, so that whoever reuses the chunk sees every write made
// to its blocks before they were returned.
void Drop(void* iChunk, int64_t iCount)
{
    Chunk* chunk = static_cast<Chunk*>(iChunk);
    if (chunk->live.fetch_sub(iCount, std::memory_order_acq_rel) == iCount) Recycle(chunk);
}

// Before a chunk is cut from the span: as much ahead as the pool holds,
// up to kPopulateBytes, when the chunk's pages are not resident yet (a
// small render keeps a small footprint); once the pool holds that much,
// the next kPopulateAheadBytes are handed to the populator's thread when
// half of what it was asked for is left. The registry is locked.
void PopulateAhead(Registry& ioRegistry)
{
    const size_t held = ioRegistry.heldBytes.load(std::memory_order_relaxed);
    const size_t unpopulated = static_cast<size_t>(ioRegistry.spanEnd - ioRegistry.populatedEnd);
    if (held >= kPopulateBytes && unpopulated > 0) {
        const size_t ahead = held < kPopulateAheadBytes ? held : kPopulateAheadBytes;
        if (static_cast<size_t>(ioRegistry.populatedEnd - ioRegistry.spanNext) > ahead / 2) return;
        const size_t bytes = ahead < unpopulated ? ahead : unpopulated;
        if (MTTPagePopulator::Request(ioRegistry.populatedEnd, bytes)) {
            ioRegistry.populatedEnd += bytes;
            return;
        }
    }
    if (ioRegistry.spanNext != ioRegistry.populatedEnd) return;
    size_t ahead = held < kChunkBytes ? kChunkBytes : held > kPopulateBytes ? kPopulateBytes : held;
    if (ahead > unpopulated) ahead = unpopulated;
    MTTPagePopulator::PopulateNow(ioRegistry.spanNext, ahead);
    ioRegistry.populatedEnd = ioRegistry.spanNext + ahead;
}

Chunk* AcquireChunk()
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    Chunk* chunk = registry.idle;
    if (chunk != nullptr) {
        registry.idle = chunk->next;
        --registry.idleCount;
    } else {
        if (registry.spanNext == registry.spanEnd) {
            registry.spanNext = static_cast<char*>(TakePages(registry.nextSpanBytes));
            registry.spans = new Span{registry.spanNext, registry.spans};
            registry.spanEnd = registry.spanNext + registry.nextSpanBytes;
            registry.populatedEnd = registry.spanNext;
            if (registry.nextSpanBytes < kLastSpanBytes) registry.nextSpanBytes *= 2;
        }
        PopulateAhead(registry);
        chunk = new (registry.spanNext) Chunk();
        registry.spanNext += kChunkBytes;
        registry.heldBytes.fetch_add(kChunkBytes, std::memory_order_relaxed);
    }
    chunk->live.store(kCarvingBias, std::memory_order_relaxed);
    return chunk;
}

void Settle(ThreadState& ioState)
{
    if (ioState.returning == nullptr) return;
    Drop(ioState.returning, ioState.returned);
    ioState.returning = nullptr;
    ioState.returned = 0;
}

void StopCarving(ThreadState& ioState)
{
    if (ioState.carving == nullptr) return;
    void* chunk = ioState.carving;
    ioState.carving = nullptr;
    ioState.bump = nullptr;
    ioState.end = nullptr;
    Drop(chunk, kCarvingBias - ioState.handedOut);
}

// Large blocks (a render's text, a long list's children) come in sizes
// rounded up to a power of two; a few of each size are kept when they are
// returned, with their pages still mapped. A text that doubles its way to
// megabytes would otherwise take fresh pages from the system, and fault
// them in, on every render. Those below a huge page are cut, aligned to
// their size, from a shared span of one, so that the first steps of a
// growing text share it; larger ones are spans of their own.
const size_t kLargeBytes = 64 * 1024;
const int kLargeClasses = 48;
const int kLargeKeptPerClass = 2;
const size_t kLargeKeptBytes = size_t(64) << 20;
const size_t kHalfFilled = ~size_t(0);

struct LargeCache {
    std::mutex lock;
    void* kept[kLargeClasses][kLargeKeptPerClass] = {};
    size_t keptBytes = 0;
    char* spanNext = nullptr;  // where the next block below a huge page is cut
    char* spanEnd = nullptr;
};

LargeCache& TheLargeCache()
{
    static LargeCache* cache = new LargeCache();
    return *cache;
}

// The class whose blocks of 2^class bytes hold iSize bytes.
int LargeClassOf(size_t iSize)
{
    int sizeClass = 0;
    while ((size_t(1) << sizeClass) < iSize) ++sizeClass;
    return sizeClass;
}

// A new block of iBytes (a power of two), with the cache locked.
void* CutLargePages(LargeCache& ioCache, size_t iBytes)
{
    if (iBytes >= kHugePageBytes) return TakePages(iBytes);
#if defined(MTT_POOL_MAPS_PAGES)
    uintptr_t block = (reinterpret_cast<uintptr_t>(ioCache.spanNext) + iBytes - 1) & ~uintptr_t(iBytes - 1);
    if (ioCache.spanNext == nullptr || block + iBytes > reinterpret_cast<uintptr_t>(ioCache.spanEnd)) {
        // The rest of the old span stays unused; its pages are given back
        // with the blocks cut from it.
        ioCache.spanNext = static_cast<char*>(TakePages(kHugePageBytes));
        ioCache.spanEnd = ioCache.spanNext + kHugePageBytes;
        block = reinterpret_cast<uintptr_t>(ioCache.spanNext);
    }
    ioCache.spanNext = reinterpret_cast<char*>(block + iBytes);
    return reinterpret_cast<void*>(block);
#else
    static_cast<void>(ioCache);
    return ::operator new(iBytes);
#endif
}

// The same with its first iFilled bytes populated: a block is taken to
// grow into, and what it grows from is copied in at once.
void* CutLarge(LargeCache& ioCache, size_t iBytes, size_t iFilled)
{
    void* block = CutLargePages(ioCache, iBytes);
    MTTPagePopulator::PopulateNow(static_cast<char*>(block), iFilled < iBytes ? iFilled : iBytes);
    return block;
}

void DropLarge(void* iBlock, size_t iBytes)
{
#if defined(MTT_POOL_MAPS_PAGES)
    GivePages(iBlock, iBytes);
#else
    if (iBytes >= kHugePageBytes) {
        GivePages(iBlock, iBytes);
    } else {
        ::operator delete(iBlock);
    }
#endif
}

// iFilled: how much will be copied in at once; kHalfFilled for half the
// block (one that doubles).
void* TakeLarge(size_t iSize, size_t iFilled)
{
    const int sizeClass = LargeClassOf(iSize);
    if (sizeClass >= kLargeClasses) return ::operator new(iSize);
    LargeCache& cache = TheLargeCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    for (void*& slot : cache.kept[sizeClass]) {
        if (slot == nullptr) continue;
        void* block = slot;
        slot = nullptr;
        cache.keptBytes -= size_t(1) << sizeClass;
        return block;
    }
    const size_t bytes = size_t(1) << sizeClass;
    return CutLarge(cache, bytes, iFilled == kHalfFilled ? bytes / 2 : iFilled);
}

void GiveLarge(void* iBlock, size_t iSize)
{
    const int sizeClass = LargeClassOf(iSize);
    if (sizeClass >= kLargeClasses) {
        ::operator delete(iBlock);
        return;
    }
    LargeCache& cache = TheLargeCache();
    {
        std::lock_guard<std::mutex> guard(cache.lock);
        if (cache.keptBytes + (size_t(1) << sizeClass) <= kLargeKeptBytes) {
            for (void*& slot : cache.kept[sizeClass]) {
                if (slot != nullptr) continue;
                slot = iBlock;
                cache.keptBytes += size_t(1) << sizeClass;
                return;
            }
        }
    }
    DropLarge(iBlock, size_t(1) << sizeClass);
}

// Set once the thread's exit handler has run: whatever the thread still
// takes or returns after that stays with it.
thread_local bool tEnded MTT_INITIAL_EXEC = false;

// Its destructor runs when the thread ends and hands its memory back.
struct ThreadExit {
    ~ThreadExit()
    {
        MTTBlockPool::SettleThread();
        tEnded = true;
    }
};

thread_local ThreadExit tExit;

// Makes sure the thread's exit handler is registered (the first use of a
// thread_local object with a destructor registers it).
void WatchThreadExit()
{
    if (!tEnded) static_cast<void>(&tExit);
}

uintptr_t Rounded(size_t iSize)
{
    return (iSize + 7) & ~uintptr_t(7);
}

uintptr_t AlignUp(uintptr_t iAddress, uintptr_t iAlignment)
{
    return (iAddress + iAlignment - 1) & ~(iAlignment - 1);
}

void* Carve(ThreadState& ioState, uintptr_t iRounded, uintptr_t iAlignment)
{
    WatchThreadExit();
    StopCarving(ioState);
    Chunk* chunk = AcquireChunk();
    ioState.carving = chunk;
    ioState.handedOut = 1;
    uintptr_t block = AlignUp(reinterpret_cast<uintptr_t>(chunk) + kHeaderBytes, iAlignment);
    ioState.bump = reinterpret_cast<char*>(block + iRounded);
    ioState.end = reinterpret_cast<char*>(chunk) + kChunkBytes;
    return reinterpret_cast<void*>(block);
}

}  // namespace

const bool MTTBlockPool::sPooling = kPooling;
MTT_FAST_THREAD_LOCAL MTTBlockPool::Thread MTTBlockPool::tThread;

void* MTTBlockPool::AllocateToFill(size_t iSize, size_t iFilled)
{
    if (!kPooling || iSize < kLargeBytes) return Allocate(iSize);
    return TakeLarge(iSize, iFilled);
}

void* MTTBlockPool::AllocateSlowly(size_t iSize)
{
    if (!kPooling) return ::operator new(iSize);
    return Take(iSize);
}

void MTTBlockPool::ReleaseSlowly(void* iBlock, size_t iSize)
{
    if (!kPooling) {
        ::operator delete(iBlock);
        return;
    }
    Give(iBlock, iSize);
}

void* MTTBlockPool::Take(size_t iSize)
{
    if (iSize >= kLargeBytes) return TakeLarge(iSize, kHalfFilled);
    if (iSize == 0 || iSize > kMaxBlockSize) return ::operator new(iSize);
    uintptr_t rounded = Rounded(iSize);
    uintptr_t alignment = AlignmentFor(rounded);
    ThreadState& state = tThread;
    uintptr_t block = AlignUp(reinterpret_cast<uintptr_t>(state.bump), alignment);
    if (state.bump == nullptr || block + rounded > reinterpret_cast<uintptr_t>(state.end)) {
        return Carve(state, rounded, alignment);
    }
    state.bump = reinterpret_cast<char*>(block + rounded);
    ++state.handedOut;
    return reinterpret_cast<void*>(block);
}

void MTTBlockPool::Give(void* iBlock, size_t iSize)
{
    if (iBlock == nullptr) return;
    if (iSize >= kLargeBytes) {
        GiveLarge(iBlock, iSize);
        return;
    }
    if (iSize == 0 || iSize > kMaxBlockSize) {
        ::operator delete(iBlock);
        return;
    }
    char* block = static_cast<char*>(iBlock);
    void* chunk = reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(block) & ~uintptr_t(kChunkBytes - 1));
    ThreadState& state = tThread;
    // The latest block of the chunk being carved (a temporary): carve it again.
    if (chunk == state.carving && block + Rounded(iSize) == state.bump) {
        state.bump = block;
        --state.handedOut;
        return;
    }
    if (chunk != state.returning) {
        Settle(state);
        WatchThreadExit();
        state.returning = chunk;
    }
    ++state.returned;
}

void MTTBlockPool::DropPages(void* iBlock, size_t iBytes)
{
#if defined(MTT_POOL_MAPS_PAGES) && defined(MADV_DONTNEED)
    if (!kPooling) return;
    static const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start = (reinterpret_cast<uintptr_t>(iBlock) + page - 1) & ~(page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(iBlock) + iBytes) & ~(page - 1);
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
#else
    static_cast<void>(iBlock);
    static_cast<void>(iBytes);
#endif
}

size_t MTTBlockPool::HeldBytes()
{
    return TheRegistry().heldBytes.load(std::memory_order_relaxed);
}

size_t MTTBlockPool::IdleBytes()
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.idleCount * kChunkBytes;
}

void MTTBlockPool::SettleThread()
{
    Settle(tThread);
    StopCarving(tThread);
}
