#ifndef MTTTREEWALKVISITOR_H
#define MTTTREEWALKVISITOR_H

#include "MTTDefaultNodeVisitor.h"

// Walks a subtree depth-first, pre-order, showing every node to an inner
// visitor that it owns. The first failure ends the walk; a null child
// within a child count is a failure (E_FAIL).
class MTTTreeWalkVisitor : public MTTDefaultNodeVisitor {
public:
    explicit MTTTreeWalkVisitor(MTTINodeVisitor* iInner);
    ~MTTTreeWalkVisitor() override;
    long VisitNode(MTTNode* iNode) override;

private:
    MTTTreeWalkVisitor(const MTTTreeWalkVisitor&) = delete;
    MTTTreeWalkVisitor& operator=(const MTTTreeWalkVisitor&) = delete;

    MTTINodeVisitor* _inner;
};

#endif
