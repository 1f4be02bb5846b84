#include "MTTStatBeginStatement.h"

#include "MTTNodeSupport.h"

long MTTStatBeginStatement::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}
