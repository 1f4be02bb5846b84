#include "MTTEvaluationOutputNode.h"

#include "MTTBlockPool.h"

#include "MTTDiagnostics.h"
#include "MTTIEvaluationOutputVisitor.h"

MTTEvaluationOutputNode::MTTEvaluationOutputNode(MTTIStatement* iStatement, MTLIModelObject* iModelObject)
    : MTTEvaluationOutput(iStatement, iModelObject), _borrowed(0)
{
}

MTTEvaluationOutputNode::MTTEvaluationOutputNode(const MTTEvaluationOutputNode& iOther)
    : MTTEvaluationOutput(iOther), _children(iOther._children), _borrowed(iOther._children.Size())
{
}

MTTEvaluationOutputNode& MTTEvaluationOutputNode::operator=(const MTTEvaluationOutputNode& iOther)
{
    if (this == &iOther) return *this;
    MTTEvaluationOutput::operator=(iOther);
    // Given back its own children (from a copy of itself): ownership stays.
    if (_children == iOther._children) return *this;
    DeleteChildren();
    _children = iOther._children;
    _borrowed = _children.Size();
    return *this;
}

MTTEvaluationOutputNode::~MTTEvaluationOutputNode()
{
    DeleteChildren();
}

void MTTEvaluationOutputNode::DeleteChildren()
{
    for (int i = _borrowed + 1; i <= _children.Size(); ++i) delete _children[i];
    _children.RemoveAll();
    _borrowed = 0;
}

MTTEvaluationOutputType MTTEvaluationOutputNode::GetMTTEvaluationOutputType() const
{
    return MTTOutputNode;
}

long MTTEvaluationOutputNode::toString(MTTString& ioText) const
{
    for (int i = 1; i <= _children.Size(); ++i) {
        const MTTEvaluationOutput* child = _children[i];
        if (!MTT_CHECK(NULL != child, "NULL != elem")) continue;
        child->toString(ioText);
    }
    return S_OK;
}

bool MTTEvaluationOutputNode::IsEmpty() const
{
    return _children.Size() == 0;
}

long MTTEvaluationOutputNode::Accept(MTTIEvaluationOutputVisitor* visitor)
{
    if (!MTT_CHECK(NULL != visitor, "visitor")) return E_FAIL;
    return visitor->VisitOutputNode(this);
}

MTTEvaluationOutput* MTTEvaluationOutputNode::AddChild(MTTEvaluationOutput* iChild)
{
    _children.Append(iChild);
    return this;
}

void MTTEvaluationOutputNode::ReserveChildren(int iCount)
{
    // A hint from a model's list size must not turn into a huge allocation.
    const int kMaxHint = 1 << 16;
    _children.Reserve(iCount < kMaxHint ? iCount : kMaxHint);
}

int MTTEvaluationOutputNode::GetChildCount() const
{
    return _children.Size();
}

MTTEvaluationOutput* MTTEvaluationOutputNode::GetChild(int iIndex) const
{
    if (iIndex < 0 || iIndex >= _children.Size()) return nullptr;
    return const_cast<MTTEvaluationOutput*>(_children[iIndex + 1]);
}

void* MTTEvaluationOutputNode::operator new(size_t iSize)
{
    return MTTBlockPool::Allocate(iSize);
}

void MTTEvaluationOutputNode::operator delete(void* iBlock, size_t iSize)
{
    MTTBlockPool::Release(iBlock, iSize);
}
