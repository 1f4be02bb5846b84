#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <thread>
#include <vector>

#include "MTTBlockPool.h"

// Blocks are distinct, aligned for any object, reused after release, and
// may be released on another thread than the one that took them.
TEST(BlockPool, BlocksAreDistinctAlignedAndReused)
{
    std::set<void*> seen;
    std::vector<void*> blocks;
    for (int i = 0; i < 10000; ++i) {
        void* block = MTTBlockPool::Take(56);
        ASSERT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u);
        ASSERT_TRUE(seen.insert(block).second);
        static_cast<char*>(block)[55] = 'x';
        blocks.push_back(block);
    }
    for (void* block : blocks) MTTBlockPool::Give(block, 56);
    for (int i = 0; i < 10000; ++i) EXPECT_TRUE(seen.count(MTTBlockPool::Take(56)) == 1);
}

TEST(BlockPool, LargeSizesAndOtherThreads)
{
    void* large = MTTBlockPool::Take(MTTBlockPool::kMaxBlockSize + 1);
    MTTBlockPool::Give(large, MTTBlockPool::kMaxBlockSize + 1);
    std::vector<void*> blocks;
    std::thread producer([&] {
        for (int i = 0; i < 1000; ++i) blocks.push_back(MTTBlockPool::Take(24));
    });
    producer.join();
    for (void* block : blocks) MTTBlockPool::Give(block, 24);
    EXPECT_NE(MTTBlockPool::Take(24), nullptr);
}
