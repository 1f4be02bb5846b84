#ifndef OBJECTBLOCKS_H
#define OBJECTBLOCKS_H

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "ResidentPages.h"

// Objects numbered from 0 that never move, kept in blocks of kPerBlock:
// a few large allocations where a deque makes one per 512 bytes, and each
// block's pages made resident in one call rather than a fault per page as
// objects are added.
template <class T>
class ObjectBlocks {
public:
    static constexpr std::size_t kPerBlock = 2048;

    ObjectBlocks() = default;
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
            std::unique_ptr<Storage, Free> block(static_cast<Storage*>(::operator new(sizeof(Storage))));
            ResidentPages::Make(block.get(), sizeof(Storage));
            _blocks.push_back(std::move(block));
        }
        T* object = new (&Block(_size)[_size % kPerBlock]) T(std::forward<Arguments>(iArguments)...);
        ++_size;
        return *object;
    }

private:
    struct Storage {
        alignas(T) unsigned char bytes[sizeof(T) * kPerBlock];
    };
    struct Free {
        void operator()(Storage* iStorage) const { ::operator delete(iStorage); }
    };

    T* Block(std::size_t iAt) const { return reinterpret_cast<T*>(_blocks[iAt / kPerBlock]->bytes); }

    std::vector<std::unique_ptr<Storage, Free>> _blocks;
    std::size_t _size = 0;
};

#endif
