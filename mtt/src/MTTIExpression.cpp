#include "MTTIExpression.h"

#include "MTTDiagnostics.h"
#include "MTTMessages.h"

MTTIExpression::MTTIExpression() {}
MTTIExpression::MTTIExpression(const MTTIExpression& iOther) : MTTNode(iOther) {}
MTTIExpression& MTTIExpression::operator=(const MTTIExpression&)
{
    return *this;
}
MTTIExpression::~MTTIExpression() {}

MTLIModelObject* MTTIExpression::EvaluateModelObject(MTTEvaluationEnvironment*)
{
    MTTReport(this, this, stderr, MTTMessages::kNoModelElement);
    return nullptr;
}

bool MTTIExpression::EvaluateBoolean(MTTEvaluationEnvironment*)
{
    MTTReport(this, this, stderr, MTTMessages::kNoBoolean);
    return false;
}

MTTString MTTIExpression::EvaluateString(MTTEvaluationEnvironment*)
{
    MTTReport(this, this, stderr, MTTMessages::kNoString);
    return MTTString();
}

MTTString MTTIExpression::LateEvaluate(MTTEvaluationEnvironment*)
{
    MTTReport(this, this, stderr, MTTMessages::kNoLateEvaluation);
    return MTTString();
}

MTTString MTTIExpression::GetPath()
{
    MTTReport(this, this, stderr, MTTMessages::kNoPath);
    return MTTString();
}
