#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "MTTBlockPool.h"

#if defined(__linux__)
#include <chrono>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

// Blocks are distinct and aligned for their size; once returned (in any
// order, on any thread, by threads that have ended) their memory is taken
// again instead of new memory. A large pool's next pages become resident
// before they are used, without the taker waiting, in a forked child too.

namespace {

std::vector<void*> TakeMany(size_t iSize, int iCount)
{
    std::vector<void*> blocks;
    for (int i = 0; i < iCount; ++i) {
        blocks.push_back(MTTBlockPool::Take(iSize));
        std::memset(blocks.back(), 0x5a, iSize);
    }
    return blocks;
}

void GiveAll(const std::vector<void*>& iBlocks, size_t iSize)
{
    for (void* block : iBlocks) MTTBlockPool::Give(block, iSize);
}

}  // namespace

TEST(BlockPool, BlocksAreDistinctAndAlignedForTheirSize)
{
    for (size_t size : {1u, 8u, 17u, 24u, 48u, 56u, 64u, 200u, 256u}) {
        std::vector<void*> blocks = TakeMany(size, 3000);
        std::set<void*> distinct(blocks.begin(), blocks.end());
        EXPECT_EQ(distinct.size(), blocks.size()) << size;
        size_t alignment = size % 16 == 0 ? 16 : size % 8 == 0 ? 8 : 1;
        for (void* block : blocks) ASSERT_EQ(reinterpret_cast<uintptr_t>(block) % alignment, 0u) << size;
        GiveAll(blocks, size);
    }
    // Only the thread's latest block grows in place, within pooled sizes.
    if (MTTBlockPool::Pooling()) {
        MTTBlockPool::SettleThread();  // a fresh chunk: room after the block
        void* first = MTTBlockPool::Allocate(8);
        EXPECT_TRUE(MTTBlockPool::Extend(first, 8, 13));
        void* second = MTTBlockPool::Allocate(8);
        EXPECT_EQ(second, static_cast<char*>(first) + 16);
        EXPECT_FALSE(MTTBlockPool::Extend(first, 16, 24));
        EXPECT_FALSE(MTTBlockPool::Extend(second, 8, MTTBlockPool::kMaxBlockSize + 8));
        MTTBlockPool::Release(second, 8);
        MTTBlockPool::Release(first, 16);
    }
    void* large = MTTBlockPool::Take(MTTBlockPool::kMaxBlockSize + 1);
    MTTBlockPool::Give(large, MTTBlockPool::kMaxBlockSize + 1);
    // A render's text: its buffer is kept for the next one, pages mapped.
    void* text = MTTBlockPool::Take(3 << 20);
    std::memset(text, 0x5a, 3 << 20);
    MTTBlockPool::Give(text, 3 << 20);
    void* again = MTTBlockPool::Take((3 << 20) + 1);
    EXPECT_EQ(again, text);
    MTTBlockPool::Give(again, (3 << 20) + 1);

    // Large blocks of every size a growing text takes: whole and apart
    // (those below a huge page share one), and two of each size are kept
    // for the next take; a third goes back to the system.
    std::vector<std::pair<char*, size_t>> sized;
    for (size_t size = 64 << 10; size <= (8u << 20); size *= 2) {
        for (size_t copy = 0; copy < 3; ++copy) {
            sized.emplace_back(static_cast<char*>(MTTBlockPool::Take(size)), size);
            std::memset(sized.back().first, static_cast<int>(copy + 1), size);
        }
    }
    std::vector<std::pair<char*, size_t>> byAddress(sized);
    std::sort(byAddress.begin(), byAddress.end());
    for (size_t i = 1; i < byAddress.size(); ++i) {
        ASSERT_LE(byAddress[i - 1].first + byAddress[i - 1].second, byAddress[i].first);
    }
    for (size_t i = 0; i < sized.size(); ++i) {
        ASSERT_TRUE(sized[i].first[0] == sized[i].first[sized[i].second - 1] && sized[i].first[0] == char(i % 3 + 1));
        MTTBlockPool::Give(sized[i].first, sized[i].second);
    }
    for (size_t i = 0; i < sized.size(); i += 3) {
        std::set<void*> returned = {sized[i].first, sized[i + 1].first, sized[i + 2].first};
        void* first = MTTBlockPool::Take(sized[i].second);
        void* second = MTTBlockPool::Take(sized[i].second);
        EXPECT_TRUE(first != second && returned.count(first) == 1 && returned.count(second) == 1) << sized[i].second;
        MTTBlockPool::Give(first, sized[i].second);
        MTTBlockPool::Give(second, sized[i].second);
    }
}

TEST(BlockPool, ReturnedMemoryIsReusedWhateverTheThread)
{
    // Taken here and returned here, taken here and returned by another
    // thread, taken by short-lived threads and returned here: after a first
    // round, the pool needs no more memory from the system.
    const int kBlocks = 20000;
    auto round = [&](int iWay) {
        if (iWay == 0) {
            GiveAll(TakeMany(56, kBlocks), 56);
        } else if (iWay == 1) {
            std::vector<void*> blocks = TakeMany(56, kBlocks);
            std::thread([&] { GiveAll(blocks, 56); }).join();
        } else {
            for (int t = 0; t < 50; ++t) {
                std::vector<void*> blocks;
                std::thread([&] { blocks = TakeMany(48, kBlocks / 50); }).join();
                GiveAll(blocks, 48);
            }
        }
        MTTBlockPool::SettleThread();
    };
    for (int way = 0; way < 3; ++way) {
        round(way);
        size_t held = MTTBlockPool::HeldBytes();
        for (int again = 0; again < 5; ++again) round(way);
        EXPECT_EQ(MTTBlockPool::HeldBytes(), held) << way;
        EXPECT_GE(MTTBlockPool::IdleBytes() + 2 * 65536, kBlocks * 56u) << way;
    }
}

#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
TEST(BlockPool, PagesAheadBecomeResidentWhileTheTakerGoesOn)
{
    const size_t kChunk = MTTBlockPool::kChunkBytes;
    const long page = sysconf(_SC_PAGESIZE);
    void* probe = mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(probe, MAP_FAILED);
    const bool populates = madvise(probe, page, MADV_POPULATE_WRITE) == 0;
    munmap(probe, page);
    if (!populates) GTEST_SKIP() << "this kernel cannot populate pages ahead";

    // Past a few megabytes, and not at the end of a span (spans end on 2 MiB
    // boundaries): the chunk after the last block's is the next to be cut.
    const size_t start = MTTBlockPool::HeldBytes();
    std::vector<void*> blocks;
    uintptr_t next = 0;
    while (MTTBlockPool::HeldBytes() < start + (size_t(6) << 20) || next % (size_t(2) << 20) == 0) {
        blocks.push_back(MTTBlockPool::Take(256));
        std::memset(blocks.back(), static_cast<int>(blocks.size() & 0x7f), 256);
        next = (reinterpret_cast<uintptr_t>(blocks.back()) & ~uintptr_t(kChunk - 1)) + kChunk;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    unsigned char resident = 0;
    while (mincore(reinterpret_cast<void*>(next), page, &resident) == 0 && (resident & 1) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(resident & 1, 1) << "the next chunk's first page never became resident";
    for (size_t i = 0; i < blocks.size(); ++i) {
        const unsigned char* bytes = static_cast<const unsigned char*>(blocks[i]);
        ASSERT_TRUE(bytes[0] == ((i + 1) & 0x7f) && bytes[255] == ((i + 1) & 0x7f)) << i;
    }

    // A child forked now has no populating thread: it takes and writes
    // blocks all the same, without waiting for one, and exits normally
    // (the alarm ends a child that hangs).
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        alarm(60);
        for (int i = 0; i < 200000; ++i) std::memset(MTTBlockPool::Take(200), 0x11, 200);
        std::exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    GiveAll(blocks, 256);
}
#endif
