#ifndef OUTPUTLEAFCOLLECTOR_H
#define OUTPUTLEAFCOLLECTOR_H

#include <vector>

#include "MTTIEvaluationOutputVisitor.h"

class MTTEvaluationOutput;
class MTTEvaluationOutputLeaf;

// Lists the leaves of an output tree in text order (depth first, left to
// right), skipping null children. Uses its own stack, not recursion, so
// that deeply nested output cannot exhaust the call stack.
class OutputLeafCollector : public MTTIEvaluationOutputVisitor {
public:
    // The leaves stay owned by the tree and live as long as it does.
    std::vector<MTTEvaluationOutputLeaf*> Collect(MTTEvaluationOutput* iRoot);

    long VisitOutputNode(MTTEvaluationOutputNode* iNode) override;
    long VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf) override;

private:
    std::vector<MTTEvaluationOutput*> _pending;  // next output on top
    std::vector<MTTEvaluationOutputLeaf*> _leaves;
};

#endif
