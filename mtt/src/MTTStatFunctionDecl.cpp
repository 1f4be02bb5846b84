#include "MTTStatFunctionDecl.h"

#include "ListOfMTTIExpression.h"
#include "MTTCallGuard.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTNodeSupport.h"

MTTStatFunctionDecl::MTTStatFunctionDecl(const MTTString& iName, const ListOfMTTString& iParameters,
                                         MTTIStatement* iBody)
    : _name(iName), _parameters(iParameters), _body(iBody)
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

MTTEvaluationOutput* MTTStatFunctionDecl::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(this, iEnvironment->GetCurrentModelObject());
    iEnvironment->AddFunction(this);
    return node;
}

MTTEvaluationOutput* MTTStatFunctionDecl::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}

namespace {

// What differs between a call evaluated now and one inlined late.
struct CallMode {
    const char* wrongCountMessage;
    const char* failedMessage;
    bool late;
};

const CallMode kImmediate = {
    "ERROR: function call failed: wrong parameter number for function \"%s\".\n",
    "ERROR: function call failed evaluation.\n", false};
const CallMode kLate = {
    "ERROR: late evaluation function call failed: wrong parameter number for function \"%s\".\n",
    "ERROR: function call failed late evaluation.\n", true};

}  // namespace

static MTTEvaluationOutput* EvaluateBody(MTTStatFunctionDecl* iDeclaration, MTTIStatement* iBody,
                                         const ListOfMTTString& iParameters,
                                         MTTEvaluationEnvironment* iEnvironment,
                                         ListOfMTTIExpression* iArguments, const CallMode& iMode)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != iBody, "NULL != _body")) return nullptr;
    if (iArguments == nullptr || iArguments->Size() != iParameters.Size()) {
        MTTReport(iDeclaration, iDeclaration, stdout, iMode.wrongCountMessage, iDeclaration->Name().ConvertToChar());
        return nullptr;
    }
    MTTCallGuard guard(iDeclaration, iEnvironment, iDeclaration->Name());
    if (!guard.Allowed()) return nullptr;

    // Inside an inlined late body there is no current model object.
    MTLIModelObject* modelObject = iMode.late ? nullptr : iEnvironment->GetCurrentModelObject();
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(iDeclaration, modelObject);
    iEnvironment->PushScope(modelObject);
    for (int i = 1; i <= iArguments->Size(); ++i) iEnvironment->AddAlias(iParameters[i], (*iArguments)[i]);
    MTTEvaluationOutput* output = iMode.late ? iBody->LateEvaluate(iEnvironment) : iBody->Evaluate(iEnvironment);
    iEnvironment->PopScope();
    if (output == nullptr) {
        MTTReport(iDeclaration, iDeclaration, stdout, "%s", iMode.failedMessage);
        delete node;
        return nullptr;
    }
    node->AddChild(output);
    return node;
}

MTTEvaluationOutput* MTTStatFunctionDecl::EvaluateCall(MTTEvaluationEnvironment* iEnvironment,
                                                       ListOfMTTIExpression* iArguments)
{
    return EvaluateBody(this, _body, _parameters, iEnvironment, iArguments, kImmediate);
}

MTTEvaluationOutput* MTTStatFunctionDecl::LateEvaluateCall(MTTEvaluationEnvironment* iEnvironment,
                                                           ListOfMTTIExpression* iArguments)
{
    return EvaluateBody(this, _body, _parameters, iEnvironment, iArguments, kLate);
}
