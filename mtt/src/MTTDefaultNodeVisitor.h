#ifndef MTTDEFAULTNODEVISITOR_H
#define MTTDEFAULTNODEVISITOR_H

#include "MTTINodeVisitor.h"

class MTTNode;

// Forwards every kind to VisitNode, which does nothing: a subclass
// overrides single kinds or VisitNode.
class MTTDefaultNodeVisitor : public MTTINodeVisitor {
public:
#define MTT_NODE(Kind) long Visit##Kind(MTT##Kind* iNode) override;
#include "MTTNodeKinds.def"
    virtual long VisitNode(MTTNode* iNode);
};

#endif
