#include "MTTStatUsercode.h"

#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"

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

MTTEvaluationOutput* MTTStatUsercode::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _variable, "NULL != _variable")) return nullptr;

    MTLIModelObject* owner = _variable->EvaluateModelObject(iEnvironment);
    if (owner == nullptr) {
        MTTReport(this, this, stdout, "ERROR: UserCode: \"%s\" not present.\n", _variable->ToString().ConvertToChar());
        return nullptr;
    }
    MTLIModelObject* userCode = owner->GetProperty(MTTString("UserCode"));
    if (userCode == nullptr) {
        MTTReport(this, this, stdout, "ERROR: Property \"%s\" has no UserCode.\n", _variable->ToString().ConvertToChar());
        return nullptr;
    }
    if (userCode->GetKind() != 2) {
        MTTReport(this, this, stdout, "ERROR: UserCode of \"%s\" is not an scalar.\n", _variable->ToString().ConvertToChar());
        return nullptr;
    }

    // Every piece carries the owner object, so that a consumer can tell
    // whose user code a section is.
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(this, owner);
    node->AddChild(new MTTEvaluationOutputLeaf(this, owner, MTTString("\n// Begin of User Code\n")));
    MTTEvaluationOutputLeaf* code = new MTTEvaluationOutputLeaf(this, owner, userCode->GetValue(nullptr));
    code->SetLeafType(MTTLeafUserCode);
    node->AddChild(code);
    node->AddChild(new MTTEvaluationOutputLeaf(this, owner, MTTString("// End of User Code\n")));
    return node;
}

MTTEvaluationOutput* MTTStatUsercode::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _variable, "NULL != _variable")) return nullptr;
    return new MTTEvaluationOutputLeaf(this, iEnvironment->GetCurrentModelObject(),
                                       _variable->LateEvaluate(iEnvironment));
}
