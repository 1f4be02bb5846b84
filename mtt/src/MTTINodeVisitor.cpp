#include "MTTINodeVisitor.h"

MTTINodeVisitor::~MTTINodeVisitor() {}
