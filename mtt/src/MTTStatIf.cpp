#include "MTTStatIf.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationLevel.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTLateSyntax.h"
#include "MTTMessages.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTPropertyFinderVisitor.h"
#include "MTTStatementKindFinder.h"
#include "MTTTextWriter.h"
#include "MTTTreeWalkVisitor.h"

MTTStatIf::MTTStatIf(MTTIExpression* iCondition, MTTIStatement* iThen, MTTIStatement* iElse)
    : _cond(iCondition),
      _then(iThen),
      _else(iElse),
      _thenKind(MTTStatementKindFinder::Of(iThen)),
      _elseKind(MTTStatementKindFinder::Of(iElse))
{
}

MTTStatIf::~MTTStatIf()
{
    MTTDeleteOwned(_cond);
    MTTDeleteOwned(_then);
    MTTDeleteOwned(_else);
}

long MTTStatIf::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatIf::GetChildCount()
{
    return 3;
}

MTTNode* MTTStatIf::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_cond, _then, _else});
}

template <class Out>
typename Out::Result MTTStatIf::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    if (!MTT_CHECK(NULL != _cond, "NULL != _cond")) return ioOut.Fail();
    bool condition = _cond->EvaluateBoolean(iEnvironment);
    MTTIStatement* chosen = condition ? _then : _else;
    if (condition ? !MTT_CHECK(NULL != _then, "_then") : !MTT_CHECK(NULL != _else, "_else")) return ioOut.Fail();
    MTTEvaluationLevel level(iEnvironment);
    typename Out::Node node = ioOut.Open(this, iEnvironment->GetCurrentModelObject());
    if (!ioOut.Add(node, chosen, condition ? _thenKind : _elseKind, iEnvironment)) {
        MTTReport(this, this, stdout, MTTMessages::kIfBodyFailed);
        return ioOut.Abandon(node);
    }
    return ioOut.Close(node);
}

MTT_EVALUATE_BY_RUN(MTTStatIf)

// Adds a part's late output unless it is missing or empty.
static bool AddUnlessEmpty(MTTEvaluationOutputNode* ioNode, MTTEvaluationOutput* iOutput)
{
    if (iOutput == nullptr) return false;
    if (iOutput->IsEmpty()) {
        delete iOutput;
        return false;
    }
    ioNode->AddChild(iOutput);
    return true;
}

// Not the immediate Run with another builder: late, all three parts are
// required up front, the condition may be left to the generated code, and
// both parts are then late-evaluated; a part that fails contributes nothing.
MTTEvaluationOutput* MTTStatIf::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _cond, "NULL != _cond")) return nullptr;
    if (!MTT_CHECK(NULL != _then, "NULL != _then")) return nullptr;
    if (!MTT_CHECK(NULL != _else, "NULL != _else")) return nullptr;
    MTTEvaluationLevel level(iEnvironment);
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(this, nullptr);

    // A condition that reads no model property can be decided now.
    bool decidable = true;
    {
        MTTTreeWalkVisitor walker(new MTTPropertyFinderVisitor(&decidable));
        _cond->Accept(&walker);
    }
    if (decidable) {
        MTTIStatement* chosen = _cond->EvaluateBoolean(iEnvironment) ? _then : _else;
        AddUnlessEmpty(node, chosen->LateEvaluate(iEnvironment));
        return node;
    }

    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, MTTString(MTTLateSyntax::kIfOpen)));
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, _cond->LateEvaluate(iEnvironment)));
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, MTTString(MTTLateSyntax::kIfThen)));
    if (MTTEvaluationOutput* thenOutput = _then->LateEvaluate(iEnvironment)) node->AddChild(thenOutput);
    MTTEvaluationOutput* elseOutput = _else->LateEvaluate(iEnvironment);
    if (elseOutput != nullptr && !elseOutput->IsEmpty()) {
        node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, MTTString(MTTLateSyntax::kIfElse)));
    }
    AddUnlessEmpty(node, elseOutput);
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, MTTString(MTTLateSyntax::kIfClose)));
    return node;
}
