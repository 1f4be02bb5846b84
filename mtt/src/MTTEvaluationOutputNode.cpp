#include "MTTEvaluationOutputNode.h"

#include "MTTBlockPool.h"

#include <cstring>
#include <new>
#include <typeinfo>

#include "MTTDiagnostics.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTIEvaluationOutputVisitor.h"
#include "MTTOutputLength.h"

namespace {

// Whether an output is exactly one of the library's two classes, told by
// the address of its type information: then what its virtual operations
// do is known here, and a tree of millions is printed and deleted without
// a virtual call per output. A host's subclass (or a type information
// that a loader duplicated) is not recognised and gets the virtual call.
bool IsPlain(const MTTEvaluationOutput* iOutput, const std::type_info& iType)
{
    return &typeid(*iOutput) == &iType;
}

// delete iChild (not null), the library's own outputs without virtual calls.
void DeleteChild(MTTEvaluationOutput* iChild)
{
    if (IsPlain(iChild, typeid(MTTEvaluationOutputLeaf))) {
        MTTEvaluationOutputLeaf* leaf = static_cast<MTTEvaluationOutputLeaf*>(iChild);
        // Its destructor releases only a text buffer; its operator delete
        // gives the block back to the pool.
        if (leaf->Text().HoldsBuffer()) leaf->MTTEvaluationOutputLeaf::~MTTEvaluationOutputLeaf();
        MTTBlockPool::Release(leaf, sizeof(MTTEvaluationOutputLeaf));
    } else if (IsPlain(iChild, typeid(MTTEvaluationOutputNode))) {
        MTTEvaluationOutputNode* node = static_cast<MTTEvaluationOutputNode*>(iChild);
        node->MTTEvaluationOutputNode::~MTTEvaluationOutputNode();
        MTTBlockPool::Release(node, sizeof(MTTEvaluationOutputNode));
    } else {
        delete iChild;
    }
}

}  // namespace

MTTEvaluationOutputNode::MTTEvaluationOutputNode(MTTIStatement* iStatement, MTLIModelObject* iModelObject)
    : MTTEvaluationOutput(iStatement, iModelObject), _count(0), _only(nullptr), _capacity(1), _borrowed(0)
{
}

MTTEvaluationOutputNode::MTTEvaluationOutputNode(const MTTEvaluationOutputNode& iOther)
    : MTTEvaluationOutput(iOther), _count(0), _only(nullptr), _capacity(1), _borrowed(0)
{
    CopyChildren(iOther);
}

MTTEvaluationOutputNode& MTTEvaluationOutputNode::operator=(const MTTEvaluationOutputNode& iOther)
{
    if (this == &iOther) return *this;
    MTTEvaluationOutput::operator=(iOther);
    // Given back its own children (from a copy of itself): ownership stays.
    if (_count == iOther._count &&
        (_count == 0 || std::memcmp(Children(), iOther.Children(), sizeof(MTTEvaluationOutput*) * _count) == 0)) {
        return *this;
    }
    DeleteChildren();
    CopyChildren(iOther);
    return *this;
}

MTTEvaluationOutputNode::~MTTEvaluationOutputNode()
{
    for (int i = _borrowed; i < _count; ++i) {
        if (MTTEvaluationOutput* child = Children()[i]) DeleteChild(child);
    }
    if (_capacity > 1) MTTBlockPool::Release(_children, sizeof(MTTEvaluationOutput*) * _capacity);
}

void MTTEvaluationOutputNode::CopyChildren(const MTTEvaluationOutputNode& iOther)
{
    Grow(iOther._count);
    if (iOther._count > 0) std::memcpy(Children(), iOther.Children(), sizeof(MTTEvaluationOutput*) * iOther._count);
    _count = iOther._count;
    _borrowed = _count;
}

void MTTEvaluationOutputNode::DeleteChildren()
{
    for (int i = _borrowed; i < _count; ++i) {
        if (MTTEvaluationOutput* child = Children()[i]) DeleteChild(child);
    }
    _count = 0;
    _borrowed = 0;
}

void MTTEvaluationOutputNode::Grow(int iCapacity)
{
    if (iCapacity <= _capacity) return;
    MTTEvaluationOutput** children =
        static_cast<MTTEvaluationOutput**>(MTTBlockPool::Allocate(sizeof(MTTEvaluationOutput*) * iCapacity));
    if (_count > 0) std::memcpy(children, Children(), sizeof(MTTEvaluationOutput*) * _count);
    if (_capacity > 1) MTTBlockPool::Release(_children, sizeof(MTTEvaluationOutput*) * _capacity);
    _children = children;
    _capacity = iCapacity;
}

MTTEvaluationOutputType MTTEvaluationOutputNode::GetMTTEvaluationOutputType() const
{
    return MTTOutputNode;
}

// The first toString of a tree reserves the whole text at once (the nodes
// know its length); the nodes below find the room already there.
long MTTEvaluationOutputNode::toString(MTTString& ioText) const
{
    size_t needed = ioText.Length() + _textLength;
    if (needed > ioText.Capacity() && _textLength < UINT32_MAX) {
        size_t doubled = 2 * ioText.Capacity();
        ioText.Reserve(needed > doubled ? needed : doubled);
    }
    // The count and the children are read again after each child.
    for (int i = 0; i < _count; ++i) {
        const MTTEvaluationOutput* child = Children()[i];
        if (!MTT_CHECK(NULL != child, "NULL != elem")) continue;
        if (IsPlain(child, typeid(MTTEvaluationOutputLeaf))) {
            ioText.Append(static_cast<const MTTEvaluationOutputLeaf*>(child)->Text());
        } else if (IsPlain(child, typeid(MTTEvaluationOutputNode))) {
            static_cast<const MTTEvaluationOutputNode*>(child)->MTTEvaluationOutputNode::toString(ioText);
        } else {
            child->toString(ioText);
        }
    }
    return S_OK;
}

bool MTTEvaluationOutputNode::IsEmpty() const
{
    return _count == 0;
}

long MTTEvaluationOutputNode::Accept(MTTIEvaluationOutputVisitor* visitor)
{
    if (!MTT_CHECK(NULL != visitor, "visitor")) return E_FAIL;
    return visitor->VisitOutputNode(this);
}

MTTEvaluationOutput* MTTEvaluationOutputNode::AddChild(MTTEvaluationOutput* iChild)
{
    if (_count == _capacity) {
        if (_capacity > 0x3FFFFFFF) throw std::bad_alloc();
        Grow(_capacity < 4 ? 4 : 2 * _capacity);
    }
    Children()[_count++] = iChild;
    if (iChild != nullptr) _textLength = MTTOutputLength::Sum(_textLength, iChild->_textLength);
    return this;
}

void MTTEvaluationOutputNode::ReserveChildren(int iCount)
{
    // A hint from a model's list size must not turn into a huge allocation.
    const int kMaxHint = 1 << 16;
    Grow(iCount < kMaxHint ? iCount : kMaxHint);
}

void* MTTEvaluationOutputNode::operator new(size_t iSize)
{
    return MTTBlockPool::Allocate(iSize);
}

void MTTEvaluationOutputNode::operator delete(void* iBlock, size_t iSize)
{
    MTTBlockPool::Release(iBlock, iSize);
}
