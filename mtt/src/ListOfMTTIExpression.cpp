#include "ListOfMTTIExpression.h"

ListOfMTTIExpression::ListOfMTTIExpression() {}
ListOfMTTIExpression::ListOfMTTIExpression(const ListOfMTTIExpression& iOther) : _list(iOther._list) {}
ListOfMTTIExpression& ListOfMTTIExpression::operator=(const ListOfMTTIExpression& iOther)
{
    _list = iOther._list;
    return *this;
}
ListOfMTTIExpression::~ListOfMTTIExpression() {}

int ListOfMTTIExpression::operator==(const ListOfMTTIExpression& iOther) const
{
    return _list == iOther._list;
}
int ListOfMTTIExpression::operator!=(const ListOfMTTIExpression& iOther) const
{
    return _list != iOther._list;
}

MTTIExpression* ListOfMTTIExpression::operator[](int iPosition) const
{
    return static_cast<MTTIExpression*>(_list.GetItem(iPosition));
}

void ListOfMTTIExpression::Append(MTTIExpression* iExpression)
{
    _list.Append(iExpression);
}
void ListOfMTTIExpression::RemoveAll()
{
    _list.RemoveAll();
}
int ListOfMTTIExpression::Size() const
{
    return _list.Size();
}
