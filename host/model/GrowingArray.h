#ifndef GROWINGARRAY_H
#define GROWINGARRAY_H

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>

// Elements appended at the end of an array and never removed: a model's
// slots and the bytes of its texts. A vector's room without its
// bookkeeping: what is appended is written in place after one check of the
// room, rather than by a library call per append. Room reserved and not yet
// written is not touched.
template <class T>
class GrowingArray {
    static_assert(std::is_trivially_copyable_v<T>, "elements are copied as bytes");

public:
    const T* data() const { return _elements.get(); }
    std::size_t size() const { return _size; }
    T& operator[](std::size_t iAt) { return _elements[iAt]; }
    const T& operator[](std::size_t iAt) const { return _elements[iAt]; }
    void reserve(std::size_t iCapacity)
    {
        if (iCapacity > _capacity) Move(iCapacity);
    }
    void push_back(T iElement) { *Extend(1) = iElement; }
    void Append(const T* iFrom, std::size_t iCount)
    {
        if (iCount > 0) std::memcpy(Extend(iCount), iFrom, iCount * sizeof(T));
    }
    // iCount more elements at the end, for the caller to write.
    T* Extend(std::size_t iCount)
    {
        if (_capacity - _size < iCount) Move(std::max(_capacity * 2, _size + iCount));
        T* const at = _elements.get() + _size;
        _size += iCount;
        return at;
    }

private:
    void Move(std::size_t iCapacity)
    {
        std::unique_ptr<T[]> elements(new T[iCapacity]);
        if (_size > 0) std::memcpy(elements.get(), _elements.get(), _size * sizeof(T));
        _elements = std::move(elements);
        _capacity = iCapacity;
    }

    std::unique_ptr<T[]> _elements;
    std::size_t _size = 0;
    std::size_t _capacity = 0;
};

#endif
