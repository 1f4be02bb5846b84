#ifndef MTTSTRING_H
#define MTTSTRING_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "MTTInfraExport.h"

// A text value: any bytes except NUL, always zero-terminated.
//
// Texts of up to 15 bytes live inside the object (no heap allocation); longer
// ones live in a heap buffer that grows geometrically, so appending is
// amortised constant time per byte. The length is stored, never measured.
// Moves steal the buffer; copies allocate only for long texts.
class MTTINFRA_EXPORT MTTString {
public:
    MTTString() { SetInlineLength(0); }
    MTTString(const char* iText);  // null gives the empty string
    MTTINFRA_KEPT MTTString(const char* iText, size_t iLength)
    {
        // Most texts made so are a model's short values: copied by words
        // into the inline store, here in the caller, with no call.
        if (iText != nullptr && iLength <= kInlineCapacity) {
            Copy(_u.inl, iText, iLength);
            SetInlineLength(iLength);
            return;
        }
        SetInlineLength(0);
        if (iText != nullptr) Assign(iText, iLength);
    }
    MTTString(const MTTString& iOther)
    {
        if (iOther.IsInline()) {
            _u = iOther._u;
            return;
        }
        SetInlineLength(0);
        Assign(iOther._u.heap.ptr, iOther._u.heap.length);
    }
    MTTString(MTTString&& iOther) noexcept : _u(iOther._u) { iOther.SetInlineLength(0); }
    virtual ~MTTString();

    MTTString& operator=(const MTTString& iOther);
    MTTString& operator=(MTTString&& iOther) noexcept;
    MTTString& operator=(const char* iText);

    MTTString& Append(const MTTString& iOther)
    {
        // A short text moves as its whole 16-byte inline store, one load and
        // one store, where the buffer has room for all of it: the pieces of
        // a render are mostly such texts.
        if (iOther.IsInline() && !IsInline()) {
            size_t length = _u.heap.length;
            if ((_u.heap.capacity & ~kHeapTag) - length >= kInlineCapacity) {
                char word[sizeof _u.inl];
                std::memcpy(word, iOther._u.inl, sizeof word);
                std::memcpy(_u.heap.ptr + length, word, sizeof word);
                length += iOther.Length();
                _u.heap.ptr[length] = '\0';
                _u.heap.length = static_cast<uint32_t>(length);
                return *this;
            }
        }
        return Append(iOther.ConvertToChar(), iOther.Length());
    }
    MTTString& Append(const char* iText);
    // Inline while the bytes fit the heap buffer: the output of a render
    // is built from millions of short appends.
    MTTString& Append(const char* iText, size_t iLength)
    {
        if (!IsInline()) {
            size_t length = _u.heap.length;
            if (iLength <= (_u.heap.capacity & ~kHeapTag) - length) {
                Copy(_u.heap.ptr + length, iText, iLength);
                _u.heap.ptr[length + iLength] = '\0';
                _u.heap.length = static_cast<uint32_t>(length + iLength);
                return *this;
            }
        }
        return AppendSlow(iText, iLength);
    }

    // Never null; valid while the string lives and is unchanged.
    const char* ConvertToChar() const { return IsInline() ? _u.inl : _u.heap.ptr; }
    size_t Length() const
    {
        return IsInline() ? kInlineCapacity - static_cast<unsigned char>(_u.inl[kTagByte]) : _u.heap.length;
    }
    bool IsEmpty() const { return Length() == 0; }
    // Whether the text lives in a buffer of its own (it is longer than 15
    // bytes, or was): destroying a string that holds none releases nothing.
    bool HoldsBuffer() const { return !IsInline(); }
    void Reserve(size_t iCapacity);
    // The bytes the text can hold without a new buffer.
    size_t Capacity() const { return IsInline() ? kInlineCapacity : (_u.heap.capacity & ~kHeapTag); }
    void Clear();
    // Moves the text to oText (replacing what it held) and leaves this
    // string empty. A long text moves in steps whose memory is given back
    // as each is copied: a render's output is never held twice.
    void MoveTo(std::string& oText);
    // Cuts the text back to its first iLength bytes (nothing when it is no
    // longer); the buffer is kept.
    void Truncate(size_t iLength);

    // Byte-wise comparison on unsigned bytes (strcmp order).
    int operator==(const MTTString& iOther) const
    {
        size_t length = Length();
        if (length != iOther.Length()) return 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        // Two short texts (a condition's usual operands): their inline
        // stores compared as two words, without a call, the bytes past the
        // text masked off.
        if (IsInline() && iOther.IsInline()) {
            uint64_t mine[2], theirs[2];
            std::memcpy(mine, _u.inl, sizeof mine);
            std::memcpy(theirs, iOther._u.inl, sizeof theirs);
            const uint64_t low = length >= 8 ? ~uint64_t(0) : (uint64_t(1) << (8 * length)) - 1;
            const uint64_t high = length <= 8 ? 0 : (uint64_t(1) << (8 * (length - 8))) - 1;
            return (((mine[0] ^ theirs[0]) & low) | ((mine[1] ^ theirs[1]) & high)) == 0;
        }
#endif
        return std::memcmp(ConvertToChar(), iOther.ConvertToChar(), length) == 0;
    }
    int operator!=(const MTTString& iOther) const
    {
        return !(*this == iOther);
    }
    int operator<(const MTTString& iOther) const;
    int operator<=(const MTTString& iOther) const;
    int operator>(const MTTString& iOther) const;
    int operator>=(const MTTString& iOther) const;
    int operator==(const char* iText) const;

private:
    static constexpr size_t kInlineCapacity = 15;
    // Heap mode sets the top bit of the stored capacity; inline mode keeps
    // 15 - length in the same byte, which is also the terminator of a full
    // inline text. Which byte that is depends on the byte order.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    static constexpr size_t kTagByte = 12;
#else
    static constexpr size_t kTagByte = 15;
#endif
    static constexpr uint32_t kHeapTag = 0x80000000u;

    bool IsInline() const
    {
        return (static_cast<unsigned char>(_u.inl[kTagByte]) & 0x80u) == 0;
    }
    int Compare(const MTTString& iOther) const;
    MTTString& AppendSlow(const char* iText, size_t iLength);
    // Moves the text to a buffer of iCapacity. For a text growing by
    // appends (iByAppends), only what is copied is made resident ahead.
    void Grow(size_t iCapacity, bool iByAppends);
    // Most appended pieces are a few bytes long: moved by two overlapping
    // words, without a call.
    static void Copy(char* oTarget, const char* iSource, size_t iLength)
    {
        if (iLength > 16) {
            std::memcpy(oTarget, iSource, iLength);
        } else if (iLength >= 8) {
            uint64_t head, tail;
            std::memcpy(&head, iSource, 8);
            std::memcpy(&tail, iSource + iLength - 8, 8);
            std::memcpy(oTarget, &head, 8);
            std::memcpy(oTarget + iLength - 8, &tail, 8);
        } else if (iLength >= 4) {
            uint32_t head, tail;
            std::memcpy(&head, iSource, 4);
            std::memcpy(&tail, iSource + iLength - 4, 4);
            std::memcpy(oTarget, &head, 4);
            std::memcpy(oTarget + iLength - 4, &tail, 4);
        } else if (iLength > 0) {
            oTarget[0] = iSource[0];
            oTarget[iLength / 2] = iSource[iLength / 2];
            oTarget[iLength - 1] = iSource[iLength - 1];
        }
    }
    void SetInlineLength(size_t iLength)
    {
        _u.inl[iLength] = '\0';
        _u.inl[kTagByte] = static_cast<char>(kInlineCapacity - iLength);
    }
    void Assign(const char* iText, size_t iLength);
    void Release();

    union {
        struct {
            char* ptr;
            uint32_t length;
            uint32_t capacity;  // with kHeapTag set
        } heap;
        char inl[16];
    } _u;
};

#endif
