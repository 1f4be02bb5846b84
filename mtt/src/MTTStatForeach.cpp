#include "MTTStatForeach.h"

#include <utility>

#include "MTLILateEvaluator.h"
#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"

namespace {

// Pieces of the generated loop. Nested loops reuse the index name, each in
// a block of its own.
const char kIndexName[] = "index_i";

}  // namespace

MTTStatForeach::MTTStatForeach(MTTIExpression* iVariable, MTTIStatement* iAction)
    : _variable(iVariable), _action(iAction)
{
}

MTTStatForeach::~MTTStatForeach()
{
    MTTDeleteOwned(_variable);
    MTTDeleteOwned(_action);
}

long MTTStatForeach::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatForeach::GetChildCount()
{
    return 2;
}

MTTNode* MTTStatForeach::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_variable, _action});
}

MTTEvaluationOutput* MTTStatForeach::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _variable, "NULL != _variable")) return nullptr;
    if (!MTT_CHECK(NULL != _action, "NULL != _action")) return nullptr;

    MTLIModelObject* list = _variable->EvaluateModelObject(iEnvironment);
    if (list == nullptr) return nullptr;
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(this, list);
    if (list->GetKind() != 1) {
        MTTReport(this, this, stdout, "ERROR: Foreach argument is not a list.\n");
        delete node;
        return nullptr;
    }
    int size = list->GetSize();
    node->ReserveChildren(size);
    for (int i = 0; i < size; ++i) {
        MTLIModelObject* element = list->GetElement(i);
        if (element == nullptr) {
            MTTReport(this, this, stdout, "ERROR: Element %d of Foreach iterated list is NULL.\n", i);
            delete node;
            return nullptr;
        }
        iEnvironment->PushScope(element);
        MTTEvaluationOutput* output = _action->Evaluate(iEnvironment);
        if (output == nullptr) {
            iEnvironment->PopScope();
            MTTReport(this, this, stdout, "ERROR: Foreach failed evaluation for child %d.\n", i);
            delete node;
            return nullptr;
        }
        node->AddChild(output);
        iEnvironment->PopScope();
    }
    return node;
}

MTTEvaluationOutput* MTTStatForeach::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _variable, "NULL != _variable")) return nullptr;
    if (!MTT_CHECK(NULL != _action, "NULL != _action")) return nullptr;
    MTLILateEvaluator* evaluator = iEnvironment->GetLateEvaluator();
    if (evaluator == nullptr) {
        MTTReport(this, this, stdout, "ERROR: Foreach needs a late evaluator.\n");
        return nullptr;
    }

    MTTString head("{for (int ");
    head.Append(kIndexName).Append(" = 0; ").Append(kIndexName).Append(" < ");
    head.Append(evaluator->LateListSize(_variable->GetPath().ConvertToChar()));
    head.Append("; ").Append(kIndexName).Append("++) { \n");
    head.Append(evaluator->LateEnterElement(_variable->GetPath().ConvertToChar(), kIndexName));
    head.Append(";\n");

    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(this, nullptr);
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, std::move(head)));
    if (MTTEvaluationOutput* body = _action->LateEvaluate(iEnvironment)) node->AddChild(body);

    MTTString end = evaluator->LateLeaveElement();
    end.Append(";\n").Append("}}\n");
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, std::move(end)));
    return node;
}
