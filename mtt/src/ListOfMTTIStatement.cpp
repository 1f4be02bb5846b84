#include "ListOfMTTIStatement.h"

#include <cstring>

#include "MTTBlockPool.h"
#include "MTTStatementKindFinder.h"

namespace {

MTTStatementKind* NewKinds(int iCount)
{
    return static_cast<MTTStatementKind*>(MTTBlockPool::Allocate(size_t(iCount)));
}

}  // namespace

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
    MTTBlockPool::Release(_kinds, size_t(_kindCapacity));
}

void ListOfMTTIStatement::CopyKinds(const ListOfMTTIStatement& iOther)
{
    if (_kindCapacity < iOther._list.Size()) {
        MTTStatementKind* kinds = NewKinds(iOther._list.Size());
        MTTBlockPool::Release(_kinds, size_t(_kindCapacity));
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
        // Taken before the pointer array grows, so that a list filled in
        // one go keeps that array on top of the pool, growing in place.
        int capacity = _kindCapacity < 8 ? 8 : 2 * _kindCapacity;
        MTTStatementKind* kinds = NewKinds(capacity);
        if (size > 0) std::memcpy(kinds, _kinds, size);
        MTTBlockPool::Release(_kinds, size_t(_kindCapacity));
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
