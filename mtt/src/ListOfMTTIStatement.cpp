#include "ListOfMTTIStatement.h"

#include <cstring>

#include "MTTStatementKindFinder.h"

ListOfMTTIStatement::ListOfMTTIStatement() : _kinds(nullptr), _kindCapacity(0) {}

ListOfMTTIStatement::ListOfMTTIStatement(const ListOfMTTIStatement& iOther)
    : _list(iOther._list), _kinds(nullptr), _kindCapacity(0)
{
    CopyKinds(iOther);
}

ListOfMTTIStatement& ListOfMTTIStatement::operator=(const ListOfMTTIStatement& iOther)
{
    if (this == &iOther) return *this;
    _list = iOther._list;
    CopyKinds(iOther);
    return *this;
}

ListOfMTTIStatement::~ListOfMTTIStatement()
{
    delete[] _kinds;
}

void ListOfMTTIStatement::CopyKinds(const ListOfMTTIStatement& iOther)
{
    if (_kindCapacity < iOther._list.Size()) {
        MTTStatementKind* kinds = new MTTStatementKind[iOther._list.Size()];
        delete[] _kinds;
        _kinds = kinds;
        _kindCapacity = iOther._list.Size();
    }
    if (iOther._list.Size() > 0) std::memcpy(_kinds, iOther._kinds, iOther._list.Size());
}

int ListOfMTTIStatement::operator==(const ListOfMTTIStatement& iOther) const
{
    return _list == iOther._list;
}
int ListOfMTTIStatement::operator!=(const ListOfMTTIStatement& iOther) const
{
    return _list != iOther._list;
}

void ListOfMTTIStatement::Append(MTTIStatement* iStatement)
{
    int size = _list.Size();
    if (size == _kindCapacity) {
        int capacity = _kindCapacity < 4 ? 4 : 2 * _kindCapacity;
        MTTStatementKind* kinds = new MTTStatementKind[capacity];
        if (size > 0) std::memcpy(kinds, _kinds, size);
        delete[] _kinds;
        _kinds = kinds;
        _kindCapacity = capacity;
    }
    _list.Append(iStatement);
    _kinds[size] = MTTStatementKindFinder::Of(iStatement);
}

void ListOfMTTIStatement::RemoveAll()
{
    _list.RemoveAll();
}
void ListOfMTTIStatement::RemoveLast()
{
    _list.RemoveLast();
}
