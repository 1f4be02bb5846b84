#ifndef OUTPUTCENSUS_H
#define OUTPUTCENSUS_H

#include <cstddef>

#include "MTTIEvaluationOutputVisitor.h"

class MTTEvaluationOutput;

// Walks a whole output tree and counts its nodes and its leaves.
class OutputCensus : public MTTIEvaluationOutputVisitor {
public:
    void Walk(MTTEvaluationOutput* iRoot);

    long VisitOutputNode(MTTEvaluationOutputNode* iNode) override;
    long VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf) override;

    size_t Nodes() const { return _nodes; }
    size_t Leaves() const { return _leaves; }

private:
    size_t _nodes = 0;
    size_t _leaves = 0;
};

#endif
