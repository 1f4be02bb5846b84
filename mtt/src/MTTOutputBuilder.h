#ifndef MTTOUTPUTBUILDER_H
#define MTTOUTPUTBUILDER_H

#include <cstddef>
#include <utility>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTExpressionText.h"
#include "MTTIExpression.h"
#include "MTTIStatement.h"
#include "MTTStatementKind.h"

// Where a statement's evaluation goes when it builds the output tree. A
// statement writes its evaluation once, as a template over where the output
// goes; this is one place, MTTTextWriter (the text alone) the other, and
// both offer the same operations. Late evaluation builds trees too: then
// sub-statements are late-evaluated.
class MTTOutputBuilder {
public:
    typedef MTTEvaluationOutput* Result;
    typedef MTTEvaluationOutputNode* Node;

    explicit MTTOutputBuilder(bool iLate = false) : _late(iLate) {}

    // Whether sub-statements are late-evaluated.
    bool Late() const { return _late; }

    static Result Fail() { return nullptr; }
    // A leaf as the whole result.
    static Result Leaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject, const MTTString& iText)
    {
        return new MTTEvaluationOutputLeaf(iStatement, iModelObject, iText);
    }
    static Result Leaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject, const char* iText, size_t iLength)
    {
        return new MTTEvaluationOutputLeaf(iStatement, iModelObject, MTTString(iText, iLength));
    }
    // A leaf holding an expression's text.
    static Result Value(MTTIStatement* iStatement, MTLIModelObject* iModelObject, MTTIExpression* iExpression,
                        MTTExpressionText::Kind, MTTEvaluationEnvironment* iEnvironment)
    {
        MTTString value = iExpression->EvaluateString(iEnvironment);
        return new MTTEvaluationOutputLeaf(iStatement, iModelObject, std::move(value));
    }
    // A node without children: a statement that changed the environment.
    static Result Empty(MTTIStatement* iStatement, MTLIModelObject* iModelObject)
    {
        return new MTTEvaluationOutputNode(iStatement, iModelObject);
    }

    // A node filled by Add and AddLeaf, then closed or abandoned.
    static Node Open(MTTIStatement* iStatement, MTLIModelObject* iModelObject)
    {
        return new MTTEvaluationOutputNode(iStatement, iModelObject);
    }
    static void Reserve(Node ioNode, int iCount) { ioNode->ReserveChildren(iCount); }
    // Evaluates a sub-statement into the node; false when it failed.
    bool Add(Node ioNode, MTTIStatement* iStatement, MTTStatementKind, MTTEvaluationEnvironment* iEnvironment) const
    {
        MTTEvaluationOutput* output =
            _late ? iStatement->LateEvaluate(iEnvironment) : iStatement->Evaluate(iEnvironment);
        if (output == nullptr) return false;
        ioNode->AddChild(output);
        return true;
    }
    static void AddLeaf(Node ioNode, MTTIStatement* iStatement, MTLIModelObject* iModelObject, MTTString iText,
                        MTTEvaluationOutputLeafType iType = MTTLeafGeneratedText)
    {
        MTTEvaluationOutputLeaf* leaf = new MTTEvaluationOutputLeaf(iStatement, iModelObject, std::move(iText));
        leaf->SetLeafType(iType);
        ioNode->AddChild(leaf);
    }
    static Result Close(Node iNode) { return iNode; }
    static Result Abandon(Node iNode)
    {
        delete iNode;
        return nullptr;
    }

private:
    bool _late;
};

#endif
