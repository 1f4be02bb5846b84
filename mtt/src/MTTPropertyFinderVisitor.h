#ifndef MTTPROPERTYFINDERVISITOR_H
#define MTTPROPERTYFINDERVISITOR_H

#include "MTTDefaultNodeVisitor.h"

// Clears the caller's flag when it meets a property expression. Run inside
// a tree walk, it tells whether a condition reads the model: the caller
// sets the flag to true, walks, and reads it.
class MTTPropertyFinderVisitor : public MTTDefaultNodeVisitor {
public:
    explicit MTTPropertyFinderVisitor(bool* iDecidable);
    long VisitExpProperty(MTTExpProperty* iNode) override;

private:
    bool* _decidable;
};

#endif
