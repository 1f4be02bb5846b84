#include "MTTStatFunctionDecl.h"

#include "ListOfMTTIExpression.h"
#include "MTTCallGuard.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationLevel.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTMessages.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTStatementKindFinder.h"
#include "MTTTextWriter.h"

MTTStatFunctionDecl::MTTStatFunctionDecl(const MTTString& iName, const ListOfMTTString& iParameters,
                                         MTTIStatement* iBody)
    : _name(iName), _parameters(iParameters), _body(iBody), _bodyKind(MTTStatementKindFinder::Of(iBody))
{
}

MTTStatFunctionDecl::~MTTStatFunctionDecl()
{
    _parameters.RemoveAll();
    MTTDeleteOwned(_body);
}

long MTTStatFunctionDecl::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatFunctionDecl::GetChildCount()
{
    return 1;
}

MTTNode* MTTStatFunctionDecl::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_body});
}

template <class Out>
typename Out::Result MTTStatFunctionDecl::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    iEnvironment->AddFunction(this);
    return ioOut.Empty(this, iEnvironment->GetCurrentModelObject());
}

MTT_EVALUATE_BY_RUN(MTTStatFunctionDecl)

MTTEvaluationOutput* MTTStatFunctionDecl::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}

namespace {

// What differs between a call evaluated now and one inlined late.
struct CallMode {
    const char* wrongCountMessage;
    const char* failedMessage;
};

const CallMode kImmediate = {MTTMessages::kWrongParameterCount, MTTMessages::kCallFailed};
const CallMode kLate = {MTTMessages::kWrongParameterCountLate, MTTMessages::kCallFailedLate};

}  // namespace

template <class Out>
typename Out::Result MTTStatFunctionDecl::RunCall(MTTEvaluationEnvironment* iEnvironment,
                                                  ListOfMTTIExpression* iArguments, bool iLate, Out& ioOut)
{
    const CallMode& mode = iLate ? kLate : kImmediate;
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    if (!MTT_CHECK(NULL != _body, "NULL != _body")) return ioOut.Fail();
    if (iArguments == nullptr || iArguments->Size() != _parameters.Size()) {
        MTTReport(this, this, stdout, mode.wrongCountMessage, _name.ConvertToChar());
        return ioOut.Fail();
    }
    MTTCallGuard guard(this, iEnvironment, _name);
    if (!guard.Allowed()) return ioOut.Fail();
    MTTEvaluationLevel level(iEnvironment);

    // Inside an inlined late body there is no current model object.
    MTLIModelObject* modelObject = iLate ? nullptr : iEnvironment->GetCurrentModelObject();
    typename Out::Node node = ioOut.Open(this, modelObject);
    iEnvironment->PushScope(modelObject);
    for (int i = 1; i <= iArguments->Size(); ++i) iEnvironment->AddAlias(_parameters[i], (*iArguments)[i]);
    bool added = ioOut.Add(node, _body, _bodyKind, iEnvironment);
    iEnvironment->PopScope();
    if (!added) {
        MTTReport(this, this, stdout, "%s", mode.failedMessage);
        return ioOut.Abandon(node);
    }
    return ioOut.Close(node);
}

MTTEvaluationOutput* MTTStatFunctionDecl::EvaluateCall(MTTEvaluationEnvironment* iEnvironment,
                                                       ListOfMTTIExpression* iArguments)
{
    MTTOutputBuilder builder;
    return RunCall(iEnvironment, iArguments, false, builder);
}

MTTEvaluationOutput* MTTStatFunctionDecl::LateEvaluateCall(MTTEvaluationEnvironment* iEnvironment,
                                                           ListOfMTTIExpression* iArguments)
{
    MTTOutputBuilder builder(true);
    return RunCall(iEnvironment, iArguments, true, builder);
}

bool MTTStatFunctionDecl::WriteCall(MTTEvaluationEnvironment* iEnvironment, ListOfMTTIExpression* iArguments,
                                    MTTTextWriter& ioWriter)
{
    return RunCall(iEnvironment, iArguments, false, ioWriter);
}

bool MTTStatFunctionDecl::WriteCall(MTTEvaluationEnvironment* iEnvironment, ListOfMTTIExpression* iArguments,
                                    MTTHeardTextWriter& ioWriter)
{
    return RunCall(iEnvironment, iArguments, false, ioWriter);
}
