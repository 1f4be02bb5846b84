#ifndef TEXTBYTES_H
#define TEXTBYTES_H

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

// Bytes appended at the end and never changed: a model's texts. A string's
// room without its bookkeeping, so that a text (its length and bytes) is
// written in place after one check of the room, rather than by a call per
// part. Room reserved and not yet written is not touched.
class TextBytes {
public:
    const char* data() const { return _bytes.get(); }
    std::size_t size() const { return _size; }
    void reserve(std::size_t iCapacity)
    {
        if (iCapacity > _capacity) Move(iCapacity);
    }
    // iCount more bytes at the end, for the caller to write.
    char* Extend(std::size_t iCount)
    {
        if (_capacity - _size < iCount) Move(std::max(_capacity * 2, _size + iCount));
        char* const at = _bytes.get() + _size;
        _size += iCount;
        return at;
    }

private:
    void Move(std::size_t iCapacity)
    {
        std::unique_ptr<char[]> bytes(new char[iCapacity]);
        if (_size > 0) std::memcpy(bytes.get(), _bytes.get(), _size);
        _bytes = std::move(bytes);
        _capacity = iCapacity;
    }

    std::unique_ptr<char[]> _bytes;
    std::size_t _size = 0;
    std::size_t _capacity = 0;
};

#endif
