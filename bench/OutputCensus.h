#ifndef OUTPUTCENSUS_H
#define OUTPUTCENSUS_H

#include <cstddef>

#include "MTTIEvaluationOutputVisitor.h"

class MTTEvaluationOutput;

// Walks a whole output tree and counts its nodes, its leaves and the bytes
// of the leaves' texts.
class OutputCensus : public MTTIEvaluationOutputVisitor {
public:
    void Walk(MTTEvaluationOutput* iRoot);

    long VisitOutputNode(MTTEvaluationOutputNode* iNode) override;
    long VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf) override;

    size_t Nodes() const { return _nodes; }
    size_t Leaves() const { return _leaves; }
    size_t TextBytes() const { return _textBytes; }
    // An estimate: child arrays rounded to the pool's 16-byte granule.
    size_t ChildArrayBytes() const { return _childArrayBytes; }

private:
    size_t _nodes = 0;
    size_t _leaves = 0;
    size_t _textBytes = 0;
    size_t _childArrayBytes = 0;
};

#endif
