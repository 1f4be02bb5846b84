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

void MTTNode::operator delete(void* iNode, size_t iSize)
{
    MTTBlockPool::Release(iNode, iSize);
}

void MTTNode::operator delete(void* iNode, size_t iSize, std::align_val_t iAlignment)
{
    ::operator delete(iNode, iSize, iAlignment);
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
