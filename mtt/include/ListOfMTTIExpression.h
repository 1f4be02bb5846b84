#ifndef LISTOFMTTIEXPRESSION_H
#define LISTOFMTTIEXPRESSION_H

#include "MTTExport.h"
#include "MTTListOfPointers.h"

class MTTIExpression;

// Ordered expression pointers, positions 1 to Size(). Never owns them:
// whoever fills the list decides who deletes the expressions.
class MTT_EXPORT ListOfMTTIExpression {
public:
    ListOfMTTIExpression();
    ListOfMTTIExpression(const ListOfMTTIExpression& iOther);
    ListOfMTTIExpression& operator=(const ListOfMTTIExpression& iOther);
    virtual ~ListOfMTTIExpression();

    int operator==(const ListOfMTTIExpression& iOther) const;
    int operator!=(const ListOfMTTIExpression& iOther) const;
    MTTIExpression* operator[](int iPosition) const;
    void Append(MTTIExpression* iExpression);
    void RemoveAll();
    int Size() const;

private:
    MTTListOfPointers _list;
};

#endif
