#ifndef MTTINODEVISITOR_H
#define MTTINODEVISITOR_H

#include "MTTNodeKinds.h"

// One visit operation per node kind, in slot order; each returns a result
// code (S_OK, or a negative failure).
class MTTINodeVisitor {
public:
    virtual ~MTTINodeVisitor();
#define MTT_NODE(Kind) virtual long Visit##Kind(MTT##Kind* iNode) = 0;
#include "MTTNodeKinds.def"
};

#endif
