#include "MTTStatFunctionCall.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTIExpression.h"
#include "MTTMessages.h"
#include "MTTNodeSupport.h"
#include "MTTStatFunctionDecl.h"
#include "MTTTextWriter.h"

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

// iCall evaluates the declaration's body; its result converts to false
// when the body failed.
template <class Call>
auto MTTStatFunctionCall::Run(MTTEvaluationEnvironment* iEnvironment, Call iCall) -> decltype(iCall(nullptr))
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return decltype(iCall(nullptr))();
    MTTStatFunctionDecl* declaration;
    {
        MTTReportingNode reporting(this);  // "Function not found" comes from the environment
        declaration = iEnvironment->GetFunction(_name);
    }
    if (declaration == nullptr) {
        MTTReport(this, this, stdout, MTTMessages::kFunctionNotDefined, _name.ConvertToChar());
        return decltype(iCall(nullptr))();
    }
    auto result = iCall(declaration);
    if (!result) {
        MTTReport(this, this, stdout, MTTMessages::kFunctionFailed, _name.ConvertToChar());
    }
    return result;
}

MTTEvaluationOutput* MTTStatFunctionCall::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return Run(iEnvironment, [&](MTTStatFunctionDecl* iDeclaration) {
        return iDeclaration->EvaluateCall(iEnvironment, &_arguments);
    });
}

MTTEvaluationOutput* MTTStatFunctionCall::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return Run(iEnvironment, [&](MTTStatFunctionDecl* iDeclaration) {
        return iDeclaration->LateEvaluateCall(iEnvironment, &_arguments);
    });
}

bool MTTStatFunctionCall::WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter)
{
    return Run(iEnvironment, [&](MTTStatFunctionDecl* iDeclaration) {
        return iDeclaration->WriteCall(iEnvironment, &_arguments, ioWriter);
    });
}

bool MTTStatFunctionCall::WriteText(MTTEvaluationEnvironment* iEnvironment, MTTHeardTextWriter& ioWriter)
{
    return Run(iEnvironment, [&](MTTStatFunctionDecl* iDeclaration) {
        return iDeclaration->WriteCall(iEnvironment, &_arguments, ioWriter);
    });
}
