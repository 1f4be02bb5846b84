#include "MTTStatForeach.h"

#include <utility>

#include "MTLILateEvaluator.h"
#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationLevel.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTStatementKindFinder.h"
#include "MTTTextWriter.h"

namespace {

// Pieces of the generated loop. Nested loops reuse the index name, each in
// a block of its own.
const char kIndexName[] = "index_i";

}  // namespace

MTTStatForeach::MTTStatForeach(MTTIExpression* iVariable, MTTIStatement* iAction)
    : _variable(iVariable), _action(iAction), _actionKind(MTTStatementKindFinder::Of(iAction))
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

template <class Out>
typename Out::Result MTTStatForeach::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    if (!MTT_CHECK(NULL != _variable, "NULL != _variable")) return ioOut.Fail();
    if (!MTT_CHECK(NULL != _action, "NULL != _action")) return ioOut.Fail();

    MTLIModelObject* list = _variable->EvaluateModelObject(iEnvironment);
    if (list == nullptr) return ioOut.Fail();
    MTTEvaluationLevel level(iEnvironment);
    typename Out::Node node = ioOut.Open(this, list);
    if (list->GetKind() != 1) {
        MTTReport(this, this, stdout, "ERROR: Foreach argument is not a list.\n");
        return ioOut.Abandon(node);
    }
    int size = list->GetSize();
    ioOut.Reserve(node, size);
    for (int i = 0; i < size; ++i) {
        MTLIModelObject* element = list->GetElement(i);
        if (element == nullptr) {
            MTTReport(this, this, stdout, "ERROR: Element %d of Foreach iterated list is NULL.\n", i);
            return ioOut.Abandon(node);
        }
        iEnvironment->PushScope(element);
        bool added = ioOut.Add(node, _action, _actionKind, iEnvironment);
        iEnvironment->PopScope();
        if (!added) {
            MTTReport(this, this, stdout, "ERROR: Foreach failed evaluation for child %d.\n", i);
            return ioOut.Abandon(node);
        }
    }
    return ioOut.Close(node);
}

MTTEvaluationOutput* MTTStatForeach::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    MTTOutputBuilder builder;
    return Run(iEnvironment, builder);
}

bool MTTStatForeach::WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter)
{
    return Run(iEnvironment, ioWriter);
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

    MTTEvaluationLevel level(iEnvironment);
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(this, nullptr);
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, std::move(head)));
    if (MTTEvaluationOutput* body = _action->LateEvaluate(iEnvironment)) node->AddChild(body);

    MTTString end = evaluator->LateLeaveElement();
    end.Append(";\n").Append("}}\n");
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, std::move(end)));
    return node;
}
