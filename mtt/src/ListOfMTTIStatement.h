#ifndef LISTOFMTTISTATEMENT_H
#define LISTOFMTTISTATEMENT_H

#include "MTTListOfPointers.h"
#include "MTTStatementKind.h"

class MTTIStatement;

// Ordered statement pointers, positions 1 to Size(). Never owns them. It
// also keeps each statement's kind, for the text path.
class ListOfMTTIStatement {
public:
    ListOfMTTIStatement();
    ListOfMTTIStatement(const ListOfMTTIStatement& iOther);
    ListOfMTTIStatement& operator=(const ListOfMTTIStatement& iOther);
    virtual ~ListOfMTTIStatement();

    int operator==(const ListOfMTTIStatement& iOther) const;
    int operator!=(const ListOfMTTIStatement& iOther) const;
    // Inline: a list reads its statements on every evaluation.
    MTTIStatement* operator[](int iPosition) const { return static_cast<MTTIStatement*>(_list.GetItem(iPosition)); }
    MTTStatementKind KindAt(int iPosition) const { return _kinds[iPosition - 1]; }
    void Append(MTTIStatement* iStatement);
    void RemoveAll();
    void RemoveLast();
    int Size() const { return _list.Size(); }

private:
    void CopyKinds(const ListOfMTTIStatement& iOther);

    MTTListOfPointers _list;
    MTTStatementKind* _kinds;  // one per statement, room for _kindCapacity
    int _kindCapacity;
};

#endif
