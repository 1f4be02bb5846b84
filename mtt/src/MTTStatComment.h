#ifndef MTTSTATCOMMENT_H
#define MTTSTATCOMMENT_H

#include "MTTStatMarker.h"

// A template comment: its text never reaches the output.
class MTTStatComment final : public MTTStatMarker {
public:
    explicit MTTStatComment(const MTTString& iText);

    long Accept(MTTINodeVisitor* visitor) override;

private:
    MTTString _comment;
};

#endif
