#ifndef MTTNODEKINDS_H
#define MTTNODEKINDS_H

// Forward declarations of the node classes.
#define MTT_NODE(Kind) class MTT##Kind;
#include "MTTNodeKinds.def"

#endif
