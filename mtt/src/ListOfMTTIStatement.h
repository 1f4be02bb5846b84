#ifndef LISTOFMTTISTATEMENT_H
#define LISTOFMTTISTATEMENT_H

#include "MTTListOfPointers.h"

class MTTIStatement;

// Ordered statement pointers, positions 1 to Size(). Never owns them.
class ListOfMTTIStatement {
public:
    ListOfMTTIStatement();
    ListOfMTTIStatement(const ListOfMTTIStatement& iOther);
    ListOfMTTIStatement& operator=(const ListOfMTTIStatement& iOther);
    virtual ~ListOfMTTIStatement();

    int operator==(const ListOfMTTIStatement& iOther) const;
    int operator!=(const ListOfMTTIStatement& iOther) const;
    MTTIStatement* operator[](int iPosition) const;
    void Append(MTTIStatement* iStatement);
    void RemoveAll();
    void RemoveLast();
    int Size() const;

private:
    MTTListOfPointers _list;
};

#endif
