#ifndef MTTOUTPUTBUILDER_H
#define MTTOUTPUTBUILDER_H

#include <cstddef>
#include <new>
#include <utility>

#include "MTTBlockPool.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTExpressionText.h"
#include "MTTIExpression.h"
#include "MTTIStatement.h"
#include "MTTStatExpression.h"
#include "MTTStatText.h"
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
        return Make<MTTEvaluationOutputLeaf>(iStatement, iModelObject, iText);
    }
    static Result Leaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject, const char* iText, size_t iLength)
    {
        return Make<MTTEvaluationOutputLeaf>(iStatement, iModelObject, MTTString(iText, iLength));
    }
    // A leaf holding an expression's text.
    static Result Value(MTTIStatement* iStatement, MTLIModelObject* iModelObject, MTTIExpression* iExpression,
                        MTTExpressionText::Kind iKind, MTTEvaluationEnvironment* iEnvironment)
    {
        MTTString value = iKind == MTTExpressionText::kProperty
                              ? static_cast<MTTExpProperty*>(iExpression)->Value(iEnvironment)
                              : iExpression->EvaluateString(iEnvironment);
        return Make<MTTEvaluationOutputLeaf>(iStatement, iModelObject, std::move(value));
    }
    // A node without children: a statement that changed the environment.
    static Result Empty(MTTIStatement* iStatement, MTLIModelObject* iModelObject)
    {
        return Make<MTTEvaluationOutputNode>(iStatement, iModelObject);
    }

    // A node filled by Add and AddLeaf, then closed or abandoned.
    static Node Open(MTTIStatement* iStatement, MTLIModelObject* iModelObject)
    {
        return Make<MTTEvaluationOutputNode>(iStatement, iModelObject);
    }
    static void Reserve(Node ioNode, int iCount) { ioNode->ReserveChildren(iCount); }
    // Evaluates a sub-statement into the node; false when it failed.
    bool Add(Node ioNode, MTTIStatement* iStatement, MTTStatementKind iKind,
             MTTEvaluationEnvironment* iEnvironment) const
    {
        MTTEvaluationOutput* output;
        if (iKind == MTTStatementKind::kStatText && iEnvironment != nullptr) {
            // Literal text, most of a template's statements, without the
            // virtual call: the leaf its Evaluate makes, in both modes. A
            // missing environment goes to Evaluate, which reports it.
            output =
                Leaf(iStatement, iEnvironment->GetCurrentModelObject(), static_cast<MTTStatText*>(iStatement)->Text());
        } else if (iKind == MTTStatementKind::kStatExpression && !_late && iEnvironment != nullptr &&
                   static_cast<MTTStatExpression*>(iStatement)->GetExpression() != nullptr) {
            // A value, likewise: the leaf of its immediate Run.
            MTTStatExpression* statement = static_cast<MTTStatExpression*>(iStatement);
            output = Value(statement, iEnvironment->GetCurrentModelObject(), statement->GetExpression(),
                           statement->ExpressionKind(), iEnvironment);
        } else {
            output = _late ? iStatement->LateEvaluate(iEnvironment) : iStatement->Evaluate(iEnvironment);
        }
        if (output == nullptr) return false;
        AddTo(ioNode, output);
        return true;
    }
    static void AddLeaf(Node ioNode, MTTIStatement* iStatement, MTLIModelObject* iModelObject, MTTString iText,
                        MTTEvaluationOutputLeafType iType = MTTLeafGeneratedText)
    {
        MTTEvaluationOutputLeaf* leaf = Make<MTTEvaluationOutputLeaf>(iStatement, iModelObject, std::move(iText));
        leaf->SetLeafType(iType);
        AddTo(ioNode, leaf);
    }
    static Result Close(Node iNode) { return iNode; }
    static Result Abandon(Node iNode)
    {
        delete iNode;
        return nullptr;
    }

private:
    // new Output(...), with the block taken inline where the class's own
    // operator new would take it (the pool, by the same size), and given
    // back the same way when the constructor throws. The block is aligned
    // for the class itself, not for any object of its size: a node after a
    // leaf then needs no padding.
    template <class Output, class... Arguments>
    static Output* Make(Arguments&&... iArguments)
    {
        struct Block {
            void* memory;
            ~Block()
            {
                if (memory != nullptr) MTTBlockPool::Release(memory, sizeof(Output));
            }
        } block{alignof(Output) <= 8 ? MTTBlockPool::AllocateWords(sizeof(Output))
                                     : MTTBlockPool::Allocate(sizeof(Output))};
        Output* output = ::new (block.memory) Output(std::forward<Arguments>(iArguments)...);
        block.memory = nullptr;
        return output;
    }
    // The nodes here are the library's own: AddChild without the virtual call.
    static void AddTo(Node ioNode, MTTEvaluationOutput* iChild) { ioNode->MTTEvaluationOutputNode::AddChild(iChild); }

    bool _late;
};

#endif
