#include "MTTIExpression.h"

#include "MTTDiagnostics.h"

MTTIExpression::MTTIExpression() {}
MTTIExpression::MTTIExpression(const MTTIExpression& iOther) : MTTNode(iOther) {}
MTTIExpression& MTTIExpression::operator=(const MTTIExpression&) { return *this; }
MTTIExpression::~MTTIExpression() {}

MTLIModelObject* MTTIExpression::EvaluateModelObject(MTTEvaluationEnvironment*)
{
    MTTReport(this, this, stderr, "ERROR: This expression does not evaluate to a model element.\n");
    return nullptr;
}

bool MTTIExpression::EvaluateBoolean(MTTEvaluationEnvironment*)
{
    MTTReport(this, this, stderr, "ERROR: This expression does not evaluate to a boolean.\n");
    return false;
}

MTTString MTTIExpression::EvaluateString(MTTEvaluationEnvironment*)
{
    MTTReport(this, this, stderr, "ERROR: This expression does not evaluate to a string.\n");
    return MTTString();
}

MTTString MTTIExpression::LateEvaluate(MTTEvaluationEnvironment*)
{
    MTTReport(this, this, stderr, "ERROR: This expression has no late evaluation.\n");
    return MTTString();
}

MTTString MTTIExpression::GetPath()
{
    MTTReport(this, this, stderr, "ERROR: This expression has no path.\n");
    return MTTString();
}
