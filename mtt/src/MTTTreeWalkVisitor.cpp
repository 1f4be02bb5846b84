#include "MTTTreeWalkVisitor.h"

#include "MTTNode.h"
#include "MTTResult.h"

MTTTreeWalkVisitor::MTTTreeWalkVisitor(MTTINodeVisitor* iInner) : _inner(iInner) {}

MTTTreeWalkVisitor::~MTTTreeWalkVisitor()
{
    delete _inner;
    _inner = nullptr;
}

long MTTTreeWalkVisitor::VisitNode(MTTNode* iNode)
{
    if (iNode == nullptr) return E_FAIL;
    long result = iNode->Accept(_inner);
    if (result < 0) return result;
    int count = iNode->GetChildCount();
    for (int i = 1; i <= count; ++i) {
        MTTNode* child = iNode->GetChild(i);
        if (child == nullptr) return E_FAIL;
        result = child->Accept(this);
        if (result < 0) return result;
    }
    return S_OK;
}
