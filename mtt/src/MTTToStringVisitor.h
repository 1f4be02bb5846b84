#ifndef MTTTOSTRINGVISITOR_H
#define MTTTOSTRINGVISITOR_H

#include "MTTINodeVisitor.h"

class MTTString;

// Appends the one-line parenthesised dump of the visited subtree to a
// string it does not own.
class MTTToStringVisitor : public MTTINodeVisitor {
public:
    explicit MTTToStringVisitor(MTTString* iOutput);
    ~MTTToStringVisitor() override;
#define MTT_NODE(Kind) long Visit##Kind(MTT##Kind* iNode) override;
#include "MTTNodeKinds.def"

private:
    MTTString* _output;
};

#endif
