#include "MTTEvaluationOutput.h"

MTTEvaluationOutput::MTTEvaluationOutput(const MTTEvaluationOutput& iOther)
    : _statement(iOther._statement), _modelObject(iOther._modelObject), _textLength(iOther._textLength)
{
}

MTTEvaluationOutput& MTTEvaluationOutput::operator=(const MTTEvaluationOutput& iOther)
{
    _statement = iOther._statement;
    _modelObject = iOther._modelObject;
    _textLength = iOther._textLength;
    return *this;
}

// Writes nothing: outputs are released by the million, and a store into
// a block that is being freed only costs a cache line.
MTTEvaluationOutput::~MTTEvaluationOutput() {}
