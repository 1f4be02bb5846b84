#ifndef NODEOWNERS_H
#define NODEOWNERS_H

#include <memory>

#include "MTTIExpression.h"
#include "MTTIStatement.h"

// Owners of nodes that are built but not yet handed to a parent. A node
// given to a make operation is released from its owner in the same call;
// on a syntax error the owners delete what was built (a node deletes its
// children), so no partial tree is left behind.
using ExpressionOwner = std::unique_ptr<MTTIExpression>;
using StatementOwner = std::unique_ptr<MTTIStatement>;

#endif
