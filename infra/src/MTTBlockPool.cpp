#include "MTTBlockPool.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

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
// Chunks are taken from the system sixteen at a time.
const size_t kChunksPerSlab = 16;
// Added to a chunk's count while a thread carves it, so that it cannot
// drop to zero before the thread has said how many blocks it handed out.
const int64_t kCarvingBias = int64_t(1) << 40;

// The header at the start of every chunk, on a cache line of its own.
struct alignas(64) Chunk {
    std::atomic<int64_t> live;
    Chunk* next;  // in the idle list
};

const size_t kHeaderBytes = sizeof(Chunk);

// Every slab taken from the system, so that all stay reachable.
struct Slab {
    char* memory;
    Slab* next;
};

struct Registry {
    std::mutex lock;
    Chunk* idle = nullptr;
    size_t idleCount = 0;
    std::atomic<size_t> heldBytes{0};
    Slab* slabs = nullptr;
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

Chunk* AcquireChunk()
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (registry.idle == nullptr) {
        char* slab = static_cast<char*>(std::aligned_alloc(kChunkBytes, kChunkBytes * kChunksPerSlab));
        if (slab == nullptr) throw std::bad_alloc();
        registry.slabs = new Slab{slab, registry.slabs};
        registry.heldBytes.fetch_add(kChunkBytes * kChunksPerSlab, std::memory_order_relaxed);
        for (size_t i = kChunksPerSlab; i-- > 0;) {
            Chunk* chunk = new (slab + i * kChunkBytes) Chunk();
            chunk->next = registry.idle;
            registry.idle = chunk;
            ++registry.idleCount;
        }
    }
    Chunk* chunk = registry.idle;
    registry.idle = chunk->next;
    --registry.idleCount;
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
// them in, on every render.
const size_t kLargeBytes = 64 * 1024;
const int kLargeClasses = 48;
const int kLargeKeptPerClass = 2;
const size_t kLargeKeptBytes = size_t(64) << 20;

struct LargeCache {
    std::mutex lock;
    void* kept[kLargeClasses][kLargeKeptPerClass] = {};
    size_t keptBytes = 0;
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

void* TakeLarge(size_t iSize)
{
    const int sizeClass = LargeClassOf(iSize);
    if (sizeClass < kLargeClasses) {
        LargeCache& cache = TheLargeCache();
        std::lock_guard<std::mutex> guard(cache.lock);
        for (void*& slot : cache.kept[sizeClass]) {
            if (slot == nullptr) continue;
            void* block = slot;
            slot = nullptr;
            cache.keptBytes -= size_t(1) << sizeClass;
            return block;
        }
    }
    return ::operator new(sizeClass < kLargeClasses ? size_t(1) << sizeClass : iSize);
}

void GiveLarge(void* iBlock, size_t iSize)
{
    const int sizeClass = LargeClassOf(iSize);
    if (sizeClass < kLargeClasses) {
        LargeCache& cache = TheLargeCache();
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
    ::operator delete(iBlock);
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
    if (iSize >= kLargeBytes) return TakeLarge(iSize);
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
