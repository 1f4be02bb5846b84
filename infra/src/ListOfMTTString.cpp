#include "ListOfMTTString.h"

#include <new>
#include <utility>

#include "MTTBlockPool.h"
#include "MTTInfraAssert.h"

namespace {

// Item arrays come from the block pool: syntax trees hold many one- or
// two-element paths, for which the system allocator's rounding and array
// header would cost more than the strings.
MTTString* NewItems(int iCount)
{
    MTTString* items = static_cast<MTTString*>(MTTBlockPool::Allocate(sizeof(MTTString) * size_t(iCount)));
    for (int i = 0; i < iCount; ++i) new (items + i) MTTString();
    return items;
}

void DeleteItems(MTTString* iItems, int iCount)
{
    if (iItems == nullptr) return;
    for (int i = 0; i < iCount; ++i) iItems[i].~MTTString();
    MTTBlockPool::Release(iItems, sizeof(MTTString) * size_t(iCount));
}

}  // namespace

ListOfMTTString::ListOfMTTString() : _items(nullptr), _size(0), _capacity(0) {}

ListOfMTTString::ListOfMTTString(const ListOfMTTString& iOther) : _items(nullptr), _size(0), _capacity(0)
{
    *this = iOther;
}

ListOfMTTString::ListOfMTTString(ListOfMTTString&& iOther) noexcept
    : _items(iOther._items), _size(iOther._size), _capacity(iOther._capacity)
{
    iOther._items = nullptr;
    iOther._size = 0;
    iOther._capacity = 0;
}

ListOfMTTString::~ListOfMTTString()
{
    DeleteItems(_items, _capacity);
}

ListOfMTTString& ListOfMTTString::operator=(const ListOfMTTString& iOther)
{
    if (this == &iOther) return *this;
    RemoveAll();
    // Exactly the room needed: syntax trees hold many short copied paths.
    if (_capacity < iOther._size) {
        DeleteItems(_items, _capacity);
        _items = nullptr;
        _capacity = 0;
        _items = NewItems(iOther._size);
        _capacity = iOther._size;
    }
    for (int i = 0; i < iOther._size; ++i) _items[i] = iOther._items[i];
    _size = iOther._size;
    return *this;
}

ListOfMTTString& ListOfMTTString::operator=(ListOfMTTString&& iOther) noexcept
{
    if (this == &iOther) return *this;
    DeleteItems(_items, _capacity);
    _items = iOther._items;
    _size = iOther._size;
    _capacity = iOther._capacity;
    iOther._items = nullptr;
    iOther._size = 0;
    iOther._capacity = 0;
    return *this;
}

void ListOfMTTString::Grow()
{
    if (_capacity > 0x3FFFFFFF) throw std::bad_alloc();
    int capacity = _capacity < 4 ? 4 : 2 * _capacity;
    MTTString* items = NewItems(capacity);
    for (int i = 0; i < _size; ++i) items[i] = std::move(_items[i]);
    DeleteItems(_items, _capacity);
    _items = items;
    _capacity = capacity;
}

void ListOfMTTString::Append(const MTTString& iText)
{
    if (_size == _capacity) {
        MTTString copy(iText);  // iText may be an element of this list
        Grow();
        _items[_size++] = std::move(copy);
        return;
    }
    _items[_size++] = iText;
}

void ListOfMTTString::Append(MTTString&& iText)
{
    MTTString text(std::move(iText));  // iText may be an element of this list
    if (_size == _capacity) Grow();
    _items[_size++] = std::move(text);
}

void ListOfMTTString::RemoveAll()
{
    for (int i = 0; i < _size; ++i) _items[i].Clear();
    _size = 0;
}

const MTTString& ListOfMTTString::operator[](int iPosition) const
{
    if (!MTTINFRA_CHECK(iPosition >= 1 && iPosition <= _size, "iPosition >= 1 && iPosition <= Size()")) {
        static const MTTString empty;
        return empty;
    }
    return _items[iPosition - 1];
}

MTTString& ListOfMTTString::operator[](int iPosition)
{
    if (!MTTINFRA_CHECK(iPosition >= 1 && iPosition <= _size, "iPosition >= 1 && iPosition <= Size()")) {
        static thread_local MTTString scratch;
        scratch.Clear();
        return scratch;
    }
    return _items[iPosition - 1];
}
