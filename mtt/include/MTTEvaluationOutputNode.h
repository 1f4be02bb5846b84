#ifndef MTTEVALUATIONOUTPUTNODE_H
#define MTTEVALUATIONOUTPUTNODE_H

#include <cstddef>

#include "ListOfMTTEvaluationOutput.h"
#include "MTTEvaluationOutput.h"
#include "MTTExport.h"

// An output that groups other outputs, in order. A node made by evaluation
// owns its children and deletes them with itself.
//
// Copies: a copy (copy constructor or assignment) refers to the same child
// objects but does not own them; the source keeps ownership, so no child is
// deleted twice. A copy must not outlive its source. Children added to a
// copy afterwards are the copy's own. Assigning to a node first deletes the
// children it owned, unless it is given back the very children it holds.
class MTT_EXPORT MTTEvaluationOutputNode : public MTTEvaluationOutput {
public:
    // Evaluation makes these by the million: they come from a block pool.
    static void* operator new(size_t iSize);
    static void operator delete(void* iBlock, size_t iSize);

    MTTEvaluationOutputNode(MTTIStatement* iStatement, MTLIModelObject* iModelObject);
    MTTEvaluationOutputNode(const MTTEvaluationOutputNode& iOther);
    MTTEvaluationOutputNode& operator=(const MTTEvaluationOutputNode& iOther);
    ~MTTEvaluationOutputNode() override;

    MTTEvaluationOutputType GetMTTEvaluationOutputType() const override;
    long toString(MTTString& ioText) const override;
    // True exactly when the node has no children.
    bool IsEmpty() const override;
    long Accept(MTTIEvaluationOutputVisitor* visitor) override;
    // Appends iChild (null included) and takes it over; returns this node.
    virtual MTTEvaluationOutput* AddChild(MTTEvaluationOutput* iChild);

    // Room for iCount children without further allocation (a hint).
    void ReserveChildren(int iCount);
    int GetChildCount() const { return _count; }
    // 0-based; null out of range.
    MTTEvaluationOutput* GetChild(int iIndex) const
    {
        return iIndex >= 0 && iIndex < _count ? Children()[iIndex] : nullptr;
    }
    // False while it holds children borrowed from the node it copies.
    bool OwnsChildren() const { return _borrowed == 0; }

private:
    MTTEvaluationOutput* const* Children() const { return _capacity <= 1 ? &_only : _children; }
    MTTEvaluationOutput** Children() { return _capacity <= 1 ? &_only : _children; }
    void DeleteChildren();
    void CopyChildren(const MTTEvaluationOutputNode& iOther);
    void Grow(int iCapacity);

    // Packed behind the base's fields: a node takes 48 bytes. A single
    // child (an if's, a call's) is held in place; more go to an array that
    // comes from the block pool while it is small.
    int _count;
    union {
        MTTEvaluationOutput* _only;       // while _capacity is 1
        MTTEvaluationOutput** _children;  // beyond
    };
    int _capacity;
    // The first _borrowed children belong to the copied node; the rest
    // were added to this one.
    int _borrowed;
};

#endif
