#include "MTTStatEndStatement.h"

#include "MTTNodeSupport.h"

long MTTStatEndStatement::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}
