#ifndef MTTLISTOFPOINTERS_H
#define MTTLISTOFPOINTERS_H

#include "MTTInfraExport.h"

// Ordered list of untyped pointers, positions 1 to Size(). It never owns
// what the pointers point to. Appending is amortised constant time.
class MTTINFRA_EXPORT MTTListOfPointers {
public:
    MTTListOfPointers();
    MTTListOfPointers(const MTTListOfPointers& iOther);  // copies the pointers
    MTTListOfPointers(MTTListOfPointers&& iOther) noexcept;
    virtual ~MTTListOfPointers();

    MTTListOfPointers& operator=(const MTTListOfPointers& iOther);
    MTTListOfPointers& operator=(MTTListOfPointers&& iOther) noexcept;

    void Append(void* iPointer);
    int Size() const { return _size; }
    // Out of range: the assertion report, then null (const) or a reference
    // to a scratch slot holding null (non-const).
    void* GetItem(int iPosition) const
    {
        return (iPosition >= 1 && iPosition <= _size) ? _items[iPosition - 1] : OutOfRange(iPosition);
    }
    void*& GetItem(int iPosition)
    {
        return (iPosition >= 1 && iPosition <= _size) ? _items[iPosition - 1] : ScratchSlot(iPosition);
    }
    void RemoveAll();
    void RemoveLast();
    void Reserve(int iCapacity);

    int operator==(const MTTListOfPointers& iOther) const;
    int operator!=(const MTTListOfPointers& iOther) const;

private:
    // Report a position out of range and answer a neutral value.
    void* OutOfRange(int iPosition) const;
    void*& ScratchSlot(int iPosition);

    void** _items;
    int _size;
    int _capacity;
};

#endif
