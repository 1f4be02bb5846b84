#include "MTTListOfPointers.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "MTTBlockPool.h"
#include "MTTInfraAssert.h"

MTTListOfPointers::MTTListOfPointers() : _items(nullptr), _size(0), _capacity(0) {}

MTTListOfPointers::MTTListOfPointers(const MTTListOfPointers& iOther) : _items(nullptr), _size(0), _capacity(0)
{
    *this = iOther;
}

MTTListOfPointers::MTTListOfPointers(MTTListOfPointers&& iOther) noexcept
    : _items(iOther._items), _size(iOther._size), _capacity(iOther._capacity)
{
    iOther._items = nullptr;
    iOther._size = 0;
    iOther._capacity = 0;
}

MTTListOfPointers::~MTTListOfPointers()
{
    MTTBlockPool::Release(_items, sizeof(void*) * _capacity);
}

MTTListOfPointers& MTTListOfPointers::operator=(const MTTListOfPointers& iOther)
{
    if (this == &iOther) return *this;
    _size = 0;
    Reserve(iOther._size);
    if (iOther._size > 0) std::memcpy(_items, iOther._items, sizeof(void*) * iOther._size);
    _size = iOther._size;
    return *this;
}

MTTListOfPointers& MTTListOfPointers::operator=(MTTListOfPointers&& iOther) noexcept
{
    if (this == &iOther) return *this;
    MTTBlockPool::Release(_items, sizeof(void*) * _capacity);
    _items = iOther._items;
    _size = iOther._size;
    _capacity = iOther._capacity;
    iOther._items = nullptr;
    iOther._size = 0;
    iOther._capacity = 0;
    return *this;
}

// Small arrays (most output nodes have a handful of children) come from
// the block pool.
void MTTListOfPointers::Reserve(int iCapacity)
{
    if (iCapacity <= _capacity) return;
    void** items = static_cast<void**>(MTTBlockPool::Allocate(sizeof(void*) * iCapacity));
    if (_size > 0) std::memcpy(items, _items, sizeof(void*) * _size);
    MTTBlockPool::Release(_items, sizeof(void*) * _capacity);
    _items = items;
    _capacity = iCapacity;
}

void MTTListOfPointers::Append(void* iPointer)
{
    if (_size == _capacity) {
        if (_capacity > 0x3FFFFFFF) throw std::bad_alloc();
        // A list filled in one go (a parsed block) stays on top of the
        // pool and grows by one slot in place: it takes exactly its room.
        if (MTTBlockPool::Extend(_items, sizeof(void*) * _capacity, sizeof(void*) * (_capacity + 1))) {
            ++_capacity;
        } else {
            Reserve(_capacity == 0 ? 1 : 2 * _capacity);
        }
    }
    _items[_size++] = iPointer;
}

void* MTTListOfPointers::OutOfRange(int) const
{
    MTTINFRA_CHECK(false, "iPosition >= 1 && iPosition <= Size()");
    return nullptr;
}

void*& MTTListOfPointers::ScratchSlot(int)
{
    MTTINFRA_CHECK(false, "iPosition >= 1 && iPosition <= Size()");
    // Writes through it are lost; reads give null.
    static thread_local void* scratch;
    scratch = nullptr;
    return scratch;
}

void MTTListOfPointers::RemoveAll()
{
    _size = 0;
}

void MTTListOfPointers::RemoveLast()
{
    if (MTTINFRA_CHECK(_size > 0, "Size() > 0")) --_size;
}

int MTTListOfPointers::operator==(const MTTListOfPointers& iOther) const
{
    if (_size != iOther._size) return 0;
    return _size == 0 || std::memcmp(_items, iOther._items, sizeof(void*) * _size) == 0;
}

int MTTListOfPointers::operator!=(const MTTListOfPointers& iOther) const
{
    return !(*this == iOther);
}
