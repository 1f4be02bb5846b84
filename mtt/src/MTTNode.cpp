#include "MTTNode.h"

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
