#include "MTTStatFunctionCall.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"
#include "MTTStatFunctionDecl.h"

MTTStatFunctionCall::MTTStatFunctionCall(const MTTString& iName, const ListOfMTTIExpression& iArguments)
    : _name(iName), _arguments(iArguments)
{
}

MTTStatFunctionCall::~MTTStatFunctionCall()
{
    MTTDeleteElements(_arguments);
}

long MTTStatFunctionCall::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatFunctionCall::GetChildCount()
{
    return _arguments.Size();
}

MTTNode* MTTStatFunctionCall::GetChild(int iIndex)
{
    return MTTListChildAt(_arguments, iIndex);
}

// Both modes find the function the same way and report a failed call with
// the same words.
static MTTEvaluationOutput* Call(const MTTStatFunctionCall* iCall, MTTEvaluationEnvironment* iEnvironment,
                                 const MTTString& iName, ListOfMTTIExpression* iArguments, bool iLate)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    MTTStatFunctionDecl* declaration;
    {
        MTTReportingNode reporting(iCall);  // "Function not found" comes from the environment
        declaration = iEnvironment->GetFunction(iName);
    }
    if (declaration == nullptr) {
        MTTReport(iCall, iCall, stdout, "ERROR: function call: function \"%s\" not defined.\n", iName.ConvertToChar());
        return nullptr;
    }
    MTTEvaluationOutput* output = iLate ? declaration->LateEvaluateCall(iEnvironment, iArguments)
                                        : declaration->EvaluateCall(iEnvironment, iArguments);
    if (output == nullptr) {
        MTTReport(iCall, iCall, stdout, "ERROR: function call: evaluation of function \"%s\" failed.\n", iName.ConvertToChar());
    }
    return output;
}

MTTEvaluationOutput* MTTStatFunctionCall::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return Call(this, iEnvironment, _name, &_arguments, false);
}

MTTEvaluationOutput* MTTStatFunctionCall::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return Call(this, iEnvironment, _name, &_arguments, true);
}
