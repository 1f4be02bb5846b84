#include "MTTTextWriter.h"

#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "MTTStatementKindFinder.h"

MTTTextWriter::MTTTextWriter(MTTEvaluationEnvironment* iEnvironment, MTTString& ioText)
    : _environment(iEnvironment), _text(ioText)
{
}

bool MTTTextWriter::Write(MTTIStatement* iStatement)
{
    return Write(iStatement, MTTStatementKindFinder::Of(iStatement));
}

bool MTTTextWriter::WriteOther(MTTIStatement* iStatement)
{
    MTTEvaluationOutput* output = iStatement->Evaluate(_environment);
    if (output == nullptr) return false;
    output->toString(_text);
    delete output;
    return true;
}
