#ifndef OBJECTBLOCKS_H
#define OBJECTBLOCKS_H

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "ResidentPages.h"

// Objects numbered from 0 that never move, kept in blocks: a few large
// allocations where a deque makes one per 512 bytes, and each block's pages
// made resident in one call rather than a fault per page as objects are
// added.
//
// Every block is aligned to its size and begins with the owner named when
// the blocks were made, so that an object finds its owner from its own
// address (ObjectBlockOwner) rather than keep a pointer to it: a model of
// 240,000 arrays and objects is 1.9 MB smaller so.
namespace object_blocks {
constexpr std::size_t kBlockBytes = 256 * 1024;
constexpr uint64_t kMark = 0x6f626a626c6f636bull;
struct Header {
    void* owner;
    uint64_t mark;  // checked in Debug builds: the object lies in a block
};
}  // namespace object_blocks

// The owner of the blocks iObject lies in; iObject must lie in one.
inline void* ObjectBlockOwner(const void* iObject)
{
    const auto* header = reinterpret_cast<const object_blocks::Header*>(reinterpret_cast<uintptr_t>(iObject) &
                                                                        ~uintptr_t(object_blocks::kBlockBytes - 1));
    assert(header->mark == object_blocks::kMark);
    return header->owner;
}

template <class T>
class ObjectBlocks {
public:
    // Objects start past the header, at their alignment, and fill the
    // block: the allocator's own words around it take a page or two of
    // every block, so blocks are large.
    static constexpr std::size_t kFirst = (sizeof(object_blocks::Header) + alignof(T) - 1) / alignof(T) * alignof(T);
    static constexpr std::size_t kPerBlock = (object_blocks::kBlockBytes - kFirst) / sizeof(T);
    static_assert(kPerBlock > 0, "an object larger than a block");

    explicit ObjectBlocks(void* iOwner) : _owner(iOwner) {}
    ObjectBlocks(const ObjectBlocks&) = delete;
    ObjectBlocks& operator=(const ObjectBlocks&) = delete;
    ~ObjectBlocks()
    {
        for (std::size_t i = 0; i < _size; ++i) (*this)[i].~T();
    }

    std::size_t size() const { return _size; }
    T& operator[](std::size_t iAt) { return Block(iAt)[iAt % kPerBlock]; }
    const T& operator[](std::size_t iAt) const { return Block(iAt)[iAt % kPerBlock]; }

    template <class... Arguments>
    T& emplace_back(Arguments&&... iArguments)
    {
        if (_size == _blocks.size() * kPerBlock) {
            std::unique_ptr<unsigned char, Free> block(static_cast<unsigned char*>(
                ::operator new(object_blocks::kBlockBytes, std::align_val_t(object_blocks::kBlockBytes))));
            new (block.get()) object_blocks::Header{_owner, object_blocks::kMark};
            // The first block fills as it is used: a handful of objects
            // take a page, not the block.
            if (!_blocks.empty()) ResidentPages::Make(block.get() + kFirst, kPerBlock * sizeof(T));
            _blocks.push_back(std::move(block));
        }
        T* object = new (&Block(_size)[_size % kPerBlock]) T(std::forward<Arguments>(iArguments)...);
        ++_size;
        return *object;
    }

private:
    struct Free {
        void operator()(unsigned char* iBlock) const
        {
            ::operator delete(iBlock, std::align_val_t(object_blocks::kBlockBytes));
        }
    };

    T* Block(std::size_t iAt) const { return reinterpret_cast<T*>(_blocks[iAt / kPerBlock].get() + kFirst); }

    void* _owner;
    std::vector<std::unique_ptr<unsigned char, Free>> _blocks;
    std::size_t _size = 0;
};

#endif
