#ifndef MTTSTRING_H
#define MTTSTRING_H

#include <cstddef>
#include <cstdint>

#include "MTTInfraExport.h"

// A text value: any bytes except NUL, always zero-terminated.
//
// Texts of up to 15 bytes live inside the object (no heap allocation); longer
// ones live in a heap buffer that grows geometrically, so appending is
// amortised constant time per byte. The length is stored, never measured.
// Moves steal the buffer; copies allocate only for long texts.
class MTTINFRA_EXPORT MTTString {
public:
    MTTString();
    MTTString(const char* iText);  // null gives the empty string
    MTTString(const char* iText, size_t iLength);
    MTTString(const MTTString& iOther);
    MTTString(MTTString&& iOther) noexcept;
    virtual ~MTTString();

    MTTString& operator=(const MTTString& iOther);
    MTTString& operator=(MTTString&& iOther) noexcept;
    MTTString& operator=(const char* iText);

    MTTString& Append(const MTTString& iOther);
    MTTString& Append(const char* iText);
    MTTString& Append(const char* iText, size_t iLength);

    // Never null; valid while the string lives and is unchanged.
    const char* ConvertToChar() const { return IsInline() ? _u.inl : _u.heap.ptr; }
    size_t Length() const
    {
        return IsInline() ? kInlineCapacity - static_cast<unsigned char>(_u.inl[kTagByte]) : _u.heap.length;
    }
    bool IsEmpty() const { return Length() == 0; }
    void Reserve(size_t iCapacity);
    void Clear();

    // Byte-wise comparison on unsigned bytes (strcmp order).
    int operator==(const MTTString& iOther) const;
    int operator!=(const MTTString& iOther) const;
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

    bool IsInline() const { return (static_cast<unsigned char>(_u.inl[kTagByte]) & 0x80u) == 0; }
    int Compare(const MTTString& iOther) const;
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
