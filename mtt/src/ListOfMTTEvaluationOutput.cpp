#include "ListOfMTTEvaluationOutput.h"

ListOfMTTEvaluationOutput::ListOfMTTEvaluationOutput() {}
ListOfMTTEvaluationOutput::ListOfMTTEvaluationOutput(const ListOfMTTEvaluationOutput& iOther) : _list(iOther._list) {}
ListOfMTTEvaluationOutput& ListOfMTTEvaluationOutput::operator=(const ListOfMTTEvaluationOutput& iOther)
{
    _list = iOther._list;
    return *this;
}
ListOfMTTEvaluationOutput::~ListOfMTTEvaluationOutput() {}

int ListOfMTTEvaluationOutput::operator==(const ListOfMTTEvaluationOutput& iOther) const
{
    return _list == iOther._list;
}
int ListOfMTTEvaluationOutput::operator!=(const ListOfMTTEvaluationOutput& iOther) const
{
    return _list != iOther._list;
}

const MTTEvaluationOutput* ListOfMTTEvaluationOutput::operator[](int iPosition) const
{
    return static_cast<const MTTEvaluationOutput*>(_list.GetItem(iPosition));
}

MTTEvaluationOutput*& ListOfMTTEvaluationOutput::operator[](int iPosition)
{
    // The stored slot is an untyped pointer of the same representation.
    return reinterpret_cast<MTTEvaluationOutput*&>(_list.GetItem(iPosition));
}

void ListOfMTTEvaluationOutput::Append(MTTEvaluationOutput* iOutput)
{
    _list.Append(iOutput);
}
void ListOfMTTEvaluationOutput::Reserve(int iCount)
{
    _list.Reserve(iCount);
}
void ListOfMTTEvaluationOutput::RemoveAll()
{
    _list.RemoveAll();
}
int ListOfMTTEvaluationOutput::Size() const
{
    return _list.Size();
}
