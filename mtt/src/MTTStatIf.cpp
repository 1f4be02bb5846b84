#include "MTTStatIf.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"
#include "MTTPropertyFinderVisitor.h"
#include "MTTTreeWalkVisitor.h"

MTTStatIf::MTTStatIf(MTTIExpression* iCondition, MTTIStatement* iThen, MTTIStatement* iElse)
    : _cond(iCondition), _then(iThen), _else(iElse)
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

MTTEvaluationOutput* MTTStatIf::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _cond, "NULL != _cond")) return nullptr;
    bool condition = _cond->EvaluateBoolean(iEnvironment);
    MTTIStatement* chosen = condition ? _then : _else;
    if (condition ? !MTT_CHECK(NULL != _then, "_then") : !MTT_CHECK(NULL != _else, "_else")) return nullptr;
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(this, iEnvironment->GetCurrentModelObject());
    MTTEvaluationOutput* output = chosen->Evaluate(iEnvironment);
    if (output == nullptr) {
        MTTReport(this, this, stdout, "ERROR: Evaluation error in if body.\n");
        delete node;
        return nullptr;
    }
    node->AddChild(output);
    return node;
}

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

MTTEvaluationOutput* MTTStatIf::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _cond, "NULL != _cond")) return nullptr;
    if (!MTT_CHECK(NULL != _then, "NULL != _then")) return nullptr;
    if (!MTT_CHECK(NULL != _else, "NULL != _else")) return nullptr;
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

    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, MTTString("if (")));
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, _cond->LateEvaluate(iEnvironment)));
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, MTTString(") {\n")));
    if (MTTEvaluationOutput* thenOutput = _then->LateEvaluate(iEnvironment)) node->AddChild(thenOutput);
    MTTEvaluationOutput* elseOutput = _else->LateEvaluate(iEnvironment);
    if (elseOutput != nullptr && !elseOutput->IsEmpty()) {
        node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, MTTString("} else {\n")));
    }
    AddUnlessEmpty(node, elseOutput);
    node->AddChild(new MTTEvaluationOutputLeaf(this, nullptr, MTTString("}\n")));
    return node;
}
