#ifndef MTTSTATEMENTKINDFINDER_H
#define MTTSTATEMENTKINDFINDER_H

#include "MTTDefaultNodeVisitor.h"
#include "MTTStatementKind.h"

class MTTIStatement;

// Tells a statement's kind by the visit its Accept makes: a statement of a
// host's own kind makes none and is kOther.
class MTTStatementKindFinder : public MTTDefaultNodeVisitor {
public:
    // kOther for null.
    static MTTStatementKind Of(MTTIStatement* iStatement);

#define MTT_NODE(Kind)
#define MTT_STATEMENT(Kind) long Visit##Kind(MTT##Kind* iNode) override;
#include "MTTNodeKinds.def"

private:
    MTTStatementKind _kind = MTTStatementKind::kOther;
};

#endif
