#ifndef MTTSTATENDSTATEMENT_H
#define MTTSTATENDSTATEMENT_H

#include "MTTStatMarker.h"

// Marks the end of a statement. It carries no data.
class MTTStatEndStatement final : public MTTStatMarker {
public:
    long Accept(MTTINodeVisitor* visitor) override;
};

#endif
