#include "MTTStatComment.h"

#include "MTTNodeSupport.h"

MTTStatComment::MTTStatComment(const MTTString& iText) : _comment(iText) {}

long MTTStatComment::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}
