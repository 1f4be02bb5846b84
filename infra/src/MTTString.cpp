#include "MTTString.h"

#include "MTTBlockPool.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

const uint32_t kMaxLength = 0x7FFFFFFEu;

// Short heap texts are common (names just over the inline size): their
// buffers come from the block pool.
char* AllocateBuffer(size_t iCapacity)
{
    if (iCapacity > kMaxLength) throw std::bad_alloc();
    return static_cast<char*>(MTTBlockPool::Allocate(iCapacity + 1));
}

// The capacity a text of iCapacity grows to for iNeeded bytes. Long texts
// (a render's output) grow fourfold: each step takes fresh pages, which a
// process's first render pays a fault each for, and fewer steps touch
// fewer of them (the pool makes only what is copied resident ahead, so the
// room not yet written takes no memory). Never past the longest text,
// while that holds iNeeded.
size_t GrownCapacity(size_t iCapacity, size_t iNeeded)
{
    const size_t factor = iCapacity >= (size_t(1) << 18) ? 4 : 2;
    size_t grown = iCapacity * factor;
    if (grown > kMaxLength) grown = kMaxLength;
    return iNeeded > grown ? iNeeded : grown;
}

}  // namespace

MTTString::MTTString(const char* iText)
{
    SetInlineLength(0);
    if (iText != nullptr) Assign(iText, std::strlen(iText));
}

MTTString::~MTTString()
{
    Release();
}

MTTString& MTTString::operator=(const MTTString& iOther)
{
    if (this != &iOther) Assign(iOther.ConvertToChar(), iOther.Length());
    return *this;
}

MTTString& MTTString::operator=(MTTString&& iOther) noexcept
{
    if (this != &iOther) {
        Release();
        _u = iOther._u;
        iOther.SetInlineLength(0);
    }
    return *this;
}

MTTString& MTTString::operator=(const char* iText)
{
    if (iText == nullptr) {
        Clear();
        return *this;
    }
    // A text inside this string's own buffer is never longer than the
    // buffer, so Assign moves it in place without reallocating.
    Assign(iText, std::strlen(iText));
    return *this;
}

MTTString& MTTString::Append(const char* iText)
{
    if (iText == nullptr) return *this;
    return Append(iText, std::strlen(iText));
}

MTTString& MTTString::AppendSlow(const char* iText, size_t iLength)
{
    if (iText == nullptr || iLength == 0) return *this;
    size_t length = Length();
    size_t needed = length + iLength;
    if (needed > kInlineCapacity || !IsInline()) {
        size_t capacity = IsInline() ? kInlineCapacity : (_u.heap.capacity & ~kHeapTag);
        if (needed > capacity) {
            // Appending a string to itself reads the old buffer after growth.
            const char* old = ConvertToChar();
            bool self = iText >= old && iText <= old + length;
            size_t offset = self ? static_cast<size_t>(iText - old) : 0;
            Grow(GrownCapacity(capacity, needed), true);
            if (self) iText = ConvertToChar() + offset;
        }
        std::memmove(_u.heap.ptr + length, iText, iLength);
        _u.heap.ptr[needed] = '\0';
        _u.heap.length = static_cast<uint32_t>(needed);
        return *this;
    }
    std::memmove(_u.inl + length, iText, iLength);
    SetInlineLength(needed);
    return *this;
}

void MTTString::Reserve(size_t iCapacity)
{
    size_t capacity = IsInline() ? kInlineCapacity : (_u.heap.capacity & ~kHeapTag);
    if (iCapacity > capacity) Grow(iCapacity, false);
}

void MTTString::Grow(size_t iCapacity, bool iByAppends)
{
    size_t length = Length();
    char* buffer = iByAppends && iCapacity <= kMaxLength
                       ? static_cast<char*>(MTTBlockPool::AllocateToFill(iCapacity + 1, length + 1))
                       : AllocateBuffer(iCapacity);
    std::memcpy(buffer, ConvertToChar(), length + 1);
    Release();
    _u.heap.ptr = buffer;
    _u.heap.length = static_cast<uint32_t>(length);
    _u.heap.capacity = static_cast<uint32_t>(iCapacity) | kHeapTag;
}

void MTTString::Clear()
{
    Release();
    SetInlineLength(0);
}

void MTTString::MoveTo(std::string& oText)
{
    const size_t length = Length();
    const size_t kStep = size_t(64) << 10;
    oText.clear();
    oText.reserve(length);
    char* text = IsInline() ? _u.inl : _u.heap.ptr;
    for (size_t done = 0; done < length; done += kStep) {
        const size_t step = length - done < kStep ? length - done : kStep;
        oText.append(text + done, step);
        if (length > kStep) MTTBlockPool::DropPages(text + done, step);
    }
    Clear();
}

void MTTString::Truncate(size_t iLength)
{
    if (iLength >= Length()) return;
    if (IsInline()) {
        SetInlineLength(iLength);
        return;
    }
    _u.heap.ptr[iLength] = '\0';
    _u.heap.length = static_cast<uint32_t>(iLength);
}

int MTTString::Compare(const MTTString& iOther) const
{
    size_t length = Length();
    size_t otherLength = iOther.Length();
    size_t common = length < otherLength ? length : otherLength;
    int result = std::memcmp(ConvertToChar(), iOther.ConvertToChar(), common);
    if (result != 0) return result;
    return length < otherLength ? -1 : (length > otherLength ? 1 : 0);
}

int MTTString::operator<(const MTTString& iOther) const
{
    return Compare(iOther) < 0;
}
int MTTString::operator<=(const MTTString& iOther) const
{
    return Compare(iOther) <= 0;
}
int MTTString::operator>(const MTTString& iOther) const
{
    return Compare(iOther) > 0;
}
int MTTString::operator>=(const MTTString& iOther) const
{
    return Compare(iOther) >= 0;
}

int MTTString::operator==(const char* iText) const
{
    if (iText == nullptr) return Length() == 0;
    return std::strcmp(ConvertToChar(), iText) == 0;
}

void MTTString::Assign(const char* iText, size_t iLength)
{
    if (iLength <= kInlineCapacity) {
        // Stay on the heap buffer when there is one: it is reused by appends.
        if (!IsInline()) {
            std::memmove(_u.heap.ptr, iText, iLength);
            _u.heap.ptr[iLength] = '\0';
            _u.heap.length = static_cast<uint32_t>(iLength);
            return;
        }
        std::memmove(_u.inl, iText, iLength);
        SetInlineLength(iLength);
        return;
    }
    size_t capacity = IsInline() ? 0 : (_u.heap.capacity & ~kHeapTag);
    if (iLength > capacity) {
        char* buffer = AllocateBuffer(iLength);
        std::memcpy(buffer, iText, iLength);
        Release();
        _u.heap.ptr = buffer;
        _u.heap.capacity = static_cast<uint32_t>(iLength) | kHeapTag;
    } else {
        std::memmove(_u.heap.ptr, iText, iLength);
    }
    _u.heap.ptr[iLength] = '\0';
    _u.heap.length = static_cast<uint32_t>(iLength);
}

void MTTString::Release()
{
    if (!IsInline()) {
        MTTBlockPool::Release(_u.heap.ptr, (_u.heap.capacity & ~kHeapTag) + 1);
        SetInlineLength(0);
    }
}
