#ifndef MTTSTATBEGINSTATEMENT_H
#define MTTSTATBEGINSTATEMENT_H

#include "MTTStatMarker.h"

// Marks the beginning of a statement. It carries no data.
class MTTStatBeginStatement final : public MTTStatMarker {
public:
    long Accept(MTTINodeVisitor* visitor) override;
};

#endif
