#include "ListOfMTTIStatement.h"

ListOfMTTIStatement::ListOfMTTIStatement() {}
ListOfMTTIStatement::ListOfMTTIStatement(const ListOfMTTIStatement& iOther) : _list(iOther._list) {}
ListOfMTTIStatement& ListOfMTTIStatement::operator=(const ListOfMTTIStatement& iOther)
{
    _list = iOther._list;
    return *this;
}
ListOfMTTIStatement::~ListOfMTTIStatement() {}

int ListOfMTTIStatement::operator==(const ListOfMTTIStatement& iOther) const { return _list == iOther._list; }
int ListOfMTTIStatement::operator!=(const ListOfMTTIStatement& iOther) const { return _list != iOther._list; }

MTTIStatement* ListOfMTTIStatement::operator[](int iPosition) const
{
    return static_cast<MTTIStatement*>(_list.GetItem(iPosition));
}

void ListOfMTTIStatement::Append(MTTIStatement* iStatement) { _list.Append(iStatement); }
void ListOfMTTIStatement::RemoveAll() { _list.RemoveAll(); }
void ListOfMTTIStatement::RemoveLast() { _list.RemoveLast(); }
int ListOfMTTIStatement::Size() const { return _list.Size(); }
