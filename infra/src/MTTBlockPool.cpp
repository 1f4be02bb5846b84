#include "MTTBlockPool.h"

#include <mutex>
#include <new>

namespace {

// Whether this build pools at all (see the header).
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
const bool kPooling = true;
#else
const bool kPooling = false;
#endif

const size_t kGranule = 16;
const size_t kClasses = MTTBlockPool::kMaxBlockSize / kGranule;
const size_t kChunkBytes = 64 * 1024;

struct FreeBlock {
    FreeBlock* next;
};

// Chunks are never given back: blocks of a chunk may sit on any thread's
// free list. The registry links them (through their first granule) and so
// keeps them reachable.
struct ChunkRegistry {
    std::mutex lock;
    void* chunks = nullptr;
};

ChunkRegistry& Registry()
{
    static ChunkRegistry* registry = new ChunkRegistry();
    return *registry;
}

// Initial-exec: the library is linked, not loaded late, and the general
// model would cost a call on every access.
thread_local FreeBlock* tFreeLists[kClasses] __attribute__((tls_model("initial-exec")));

size_t ClassOf(size_t iSize)
{
    return (iSize + kGranule - 1) / kGranule - 1;
}

// Carves a new chunk into blocks of one class and returns the first block.
void* Refill(size_t iClass)
{
    size_t blockSize = (iClass + 1) * kGranule;
    char* chunk = static_cast<char*>(::operator new(kChunkBytes));
    {
        ChunkRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        *reinterpret_cast<void**>(chunk) = registry.chunks;
        registry.chunks = chunk;
    }
    char* first = chunk + kGranule;
    size_t count = (kChunkBytes - kGranule) / blockSize;
    FreeBlock* list = nullptr;
    for (size_t i = count; i-- > 1;) {
        FreeBlock* block = reinterpret_cast<FreeBlock*>(first + i * blockSize);
        block->next = list;
        list = block;
    }
    tFreeLists[iClass] = list;
    return first;
}

}  // namespace

void* MTTBlockPool::Allocate(size_t iSize)
{
    if (!kPooling) return ::operator new(iSize);
    return Take(iSize);
}

void MTTBlockPool::Release(void* iBlock, size_t iSize)
{
    if (!kPooling) {
        ::operator delete(iBlock);
        return;
    }
    Give(iBlock, iSize);
}

void* MTTBlockPool::Take(size_t iSize)
{
    if (iSize == 0 || iSize > kMaxBlockSize) return ::operator new(iSize);
    size_t sizeClass = ClassOf(iSize);
    FreeBlock* block = tFreeLists[sizeClass];
    if (block == nullptr) return Refill(sizeClass);
    tFreeLists[sizeClass] = block->next;
    return block;
}

void MTTBlockPool::Give(void* iBlock, size_t iSize)
{
    if (iBlock == nullptr) return;
    if (iSize == 0 || iSize > kMaxBlockSize) {
        ::operator delete(iBlock);
        return;
    }
    size_t sizeClass = ClassOf(iSize);
    FreeBlock* block = static_cast<FreeBlock*>(iBlock);
    block->next = tFreeLists[sizeClass];
    tFreeLists[sizeClass] = block;
}
