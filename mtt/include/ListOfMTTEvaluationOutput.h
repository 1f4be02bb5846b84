#ifndef LISTOFMTTEVALUATIONOUTPUT_H
#define LISTOFMTTEVALUATIONOUTPUT_H

#include "MTTExport.h"
#include "MTTListOfPointers.h"

class MTTEvaluationOutput;

// Ordered output pointers, positions 1 to Size(). Never owns them.
class MTT_EXPORT ListOfMTTEvaluationOutput {
public:
    ListOfMTTEvaluationOutput();
    ListOfMTTEvaluationOutput(const ListOfMTTEvaluationOutput& iOther);
    ListOfMTTEvaluationOutput& operator=(const ListOfMTTEvaluationOutput& iOther);
    virtual ~ListOfMTTEvaluationOutput();

    int operator==(const ListOfMTTEvaluationOutput& iOther) const;
    int operator!=(const ListOfMTTEvaluationOutput& iOther) const;
    const MTTEvaluationOutput* operator[](int iPosition) const;
    // The stored slot itself, so that it can be overwritten.
    MTTEvaluationOutput*& operator[](int iPosition);
    void Append(MTTEvaluationOutput* iOutput);
    // Room for iCount elements without further allocation.
    void Reserve(int iCount);
    void RemoveAll();
    int Size() const;

private:
    MTTListOfPointers _list;
};

#endif
