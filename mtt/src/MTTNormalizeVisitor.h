#ifndef MTTNORMALIZEVISITOR_H
#define MTTNORMALIZEVISITOR_H

#include "MTTDefaultNodeVisitor.h"

// Empties a text statement made only of blanks, tabs, line feeds and
// carriage returns. Run inside a tree walk.
class MTTNormalizeVisitor : public MTTDefaultNodeVisitor {
public:
    long VisitStatText(MTTStatText* iNode) override;
};

#endif
