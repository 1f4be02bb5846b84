#include "MTTEvaluationOutput.h"

MTTEvaluationOutput::MTTEvaluationOutput(MTTIStatement* iStatement, MTLIModelObject* iModelObject)
    : _statement(iStatement), _modelObject(iModelObject)
{
}

MTTEvaluationOutput::MTTEvaluationOutput(const MTTEvaluationOutput& iOther)
    : _statement(iOther._statement), _modelObject(iOther._modelObject)
{
}

MTTEvaluationOutput& MTTEvaluationOutput::operator=(const MTTEvaluationOutput& iOther)
{
    _statement = iOther._statement;
    _modelObject = iOther._modelObject;
    return *this;
}

MTTEvaluationOutput::~MTTEvaluationOutput()
{
    _statement = nullptr;
    _modelObject = nullptr;
}
