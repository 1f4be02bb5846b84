#include "MTTNode.h"

#include "MTTBlockPool.h"
#include "MTTNormalizeVisitor.h"
#include "MTTToStringVisitor.h"
#include "MTTTreeWalkVisitor.h"

MTTNode::MTTNode() {}
MTTNode::MTTNode(const MTTNode&) {}
MTTNode& MTTNode::operator=(const MTTNode&)
{
    return *this;
}
MTTNode::~MTTNode() {}

void* MTTNode::operator new(size_t iSize)
{
    return MTTBlockPool::AllocateWords(iSize);
}

void* MTTNode::operator new(size_t iSize, std::align_val_t iAlignment)
{
    return ::operator new(iSize, iAlignment);
}

void* MTTNode::operator new(size_t iSize, const std::nothrow_t&) noexcept
{
    try {
        return operator new(iSize);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void MTTNode::operator delete(void* iNode, size_t iSize)
{
    MTTBlockPool::Release(iNode, iSize);
}

void MTTNode::operator delete(void* iNode, size_t iSize, std::align_val_t iAlignment)
{
    ::operator delete(iNode, iSize, iAlignment);
}

// Called only when a constructor throws after a nothrow allocation, and
// without the size a pooled block is returned with: that block stays
// taken (it pins its chunk), which is bounded and reachable.
void MTTNode::operator delete(void* iNode, const std::nothrow_t&) noexcept
{
    if (!MTTBlockPool::Pooling()) ::operator delete(iNode);
}

long MTTNode::Normalize()
{
    MTTTreeWalkVisitor walker(new MTTNormalizeVisitor());
    return Accept(&walker);
}

MTTString MTTNode::ToString()
{
    MTTString result;
    MTTToStringVisitor visitor(&result);
    Accept(&visitor);
    return result;
}
