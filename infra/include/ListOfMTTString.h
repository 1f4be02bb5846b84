#ifndef LISTOFMTTSTRING_H
#define LISTOFMTTSTRING_H

#include "MTTInfraExport.h"
#include "MTTString.h"

// Ordered list of text values, positions 1 to Size(); the list owns its
// copies of the texts.
class MTTINFRA_EXPORT ListOfMTTString {
public:
    ListOfMTTString();
    ListOfMTTString(const ListOfMTTString& iOther);
    ListOfMTTString(ListOfMTTString&& iOther) noexcept;
    virtual ~ListOfMTTString();

    ListOfMTTString& operator=(const ListOfMTTString& iOther);
    ListOfMTTString& operator=(ListOfMTTString&& iOther) noexcept;

    void Append(const MTTString& iText);
    void Append(MTTString&& iText);
    int Size() const { return _size; }
    void RemoveAll();

    // Out of range: the assertion report, then a reference to an empty
    // string (a scratch one for the non-const form).
    const MTTString& operator[](int iPosition) const;
    MTTString& operator[](int iPosition);

private:
    void Grow();

    MTTString* _items;
    int _size;
    int _capacity;
};

#endif
