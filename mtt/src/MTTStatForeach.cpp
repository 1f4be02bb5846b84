#include "MTTStatForeach.h"

#include "MTLILateEvaluator.h"
#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationLevel.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTEvaluationState.h"
#include "MTTIExpression.h"
#include "MTTLateSyntax.h"
#include "MTTMessages.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTStatementKindFinder.h"
#include "MTTTextWriter.h"

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
        MTTReport(this, this, stdout, MTTMessages::kForeachNotList);
        return ioOut.Abandon(node);
    }
    int size = list->GetSize();
    ioOut.Reserve(node, size);
    for (int i = 0; i < size; ++i) {
        MTLIModelObject* element = list->GetElement(i);
        if (element == nullptr) {
            MTTReport(this, this, stdout, MTTMessages::kForeachNullElement, i);
            return ioOut.Abandon(node);
        }
        // The environment's PushScope and PopScope, inline: once per element.
        // One that finds only the root scope left (a body of the host's own
        // that popped ours) is the environment's to report.
        MTTEvaluationState::Of(iEnvironment).PushScope(element);
        bool added = ioOut.Add(node, _action, _actionKind, iEnvironment);
        MTTEvaluationState& state = MTTEvaluationState::Of(iEnvironment);
        if (state.ScopeCount() > 1) {
            state.PopScope();
        } else {
            iEnvironment->PopScope();
        }
        if (!added) {
            MTTReport(this, this, stdout, MTTMessages::kForeachChildFailed, i);
            return ioOut.Abandon(node);
        }
    }
    return ioOut.Close(node);
}

MTT_EVALUATE_BY_RUN(MTTStatForeach)

// Not the immediate Run with another builder: late, no model list is read
// and no scope is pushed; the body is late-evaluated once, as the body of
// the generated loop, and a body that fails contributes nothing.
MTTEvaluationOutput* MTTStatForeach::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _variable, "NULL != _variable")) return nullptr;
    if (!MTT_CHECK(NULL != _action, "NULL != _action")) return nullptr;
    MTLILateEvaluator* evaluator = iEnvironment->GetLateEvaluator();
    if (evaluator == nullptr) {
        MTTReport(this, this, stdout, MTTMessages::kForeachNeedsLateEvaluator);
        return nullptr;
    }

    // The late evaluator is asked in this order: size, enter, (body), leave.
    MTTString size = evaluator->LateListSize(_variable->GetPath().ConvertToChar());
    MTTString enter = evaluator->LateEnterElement(_variable->GetPath().ConvertToChar(), MTTLateSyntax::kLoopIndex);

    MTTEvaluationLevel level(iEnvironment);
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(this, nullptr);
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, MTTLateSyntax::LoopHead(size, enter)));
    if (MTTEvaluationOutput* body = _action->LateEvaluate(iEnvironment)) node->AddChild(body);

    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, MTTLateSyntax::LoopEnd(evaluator->LateLeaveElement())));
    return node;
}
