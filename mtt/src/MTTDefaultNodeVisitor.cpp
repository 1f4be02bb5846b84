#include "MTTDefaultNodeVisitor.h"

#include "MTTNodeClasses.h"
#include "MTTResult.h"

#define MTT_NODE(Kind)                                        \
    long MTTDefaultNodeVisitor::Visit##Kind(MTT##Kind* iNode) \
    {                                                         \
        return VisitNode(iNode);                              \
    }
#include "MTTNodeKinds.def"

long MTTDefaultNodeVisitor::VisitNode(MTTNode*)
{
    return S_OK;
}
