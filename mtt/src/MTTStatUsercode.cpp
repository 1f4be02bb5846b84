#include "MTTStatUsercode.h"

#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTMessages.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"

MTTStatUsercode::MTTStatUsercode(MTTIExpression* iExpression) : _variable(iExpression) {}

MTTStatUsercode::~MTTStatUsercode()
{
    MTTDeleteOwned(_variable);
}

long MTTStatUsercode::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatUsercode::GetChildCount()
{
    return 1;
}

MTTNode* MTTStatUsercode::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_variable});
}

template <class Out>
typename Out::Result MTTStatUsercode::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    if (!MTT_CHECK(NULL != _variable, "NULL != _variable")) return ioOut.Fail();

    MTLIModelObject* owner = _variable->EvaluateModelObject(iEnvironment);
    if (owner == nullptr) {
        MTTReport(this, this, stdout, MTTMessages::kUserCodeOwnerMissing, _variable->ToString().ConvertToChar());
        return ioOut.Fail();
    }
    MTLIModelObject* userCode = owner->GetProperty(MTTString("UserCode"));
    if (userCode == nullptr) {
        MTTReport(this, this, stdout, MTTMessages::kUserCodeMissing, _variable->ToString().ConvertToChar());
        return ioOut.Fail();
    }
    if (userCode->GetKind() != 2) {
        MTTReport(this, this, stdout, MTTMessages::kUserCodeNotScalar, _variable->ToString().ConvertToChar());
        return ioOut.Fail();
    }

    // Every piece carries the owner object, so that a consumer can tell
    // whose user code a section is.
    typename Out::Node node = ioOut.Open(this, owner);
    ioOut.AddLeaf(node, this, owner, MTTString(MTTMessages::kUserCodeBegin));
    ioOut.AddLeaf(node, this, owner, userCode->GetValue(nullptr), MTTLeafUserCode);
    ioOut.AddLeaf(node, this, owner, MTTString(MTTMessages::kUserCodeEnd));
    return ioOut.Close(node);
}

MTT_EVALUATE_BY_RUN(MTTStatUsercode)

MTTEvaluationOutput* MTTStatUsercode::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _variable, "NULL != _variable")) return nullptr;
    return new MTTEvaluationOutputLeaf(this, iEnvironment->GetCurrentModelObject(),
                                       _variable->LateEvaluate(iEnvironment));
}
