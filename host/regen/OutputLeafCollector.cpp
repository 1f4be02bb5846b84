#include "OutputLeafCollector.h"

#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"

std::vector<MTTEvaluationOutputLeaf*> OutputLeafCollector::Collect(MTTEvaluationOutput* iRoot)
{
    _leaves.clear();
    _pending.clear();
    if (iRoot != nullptr) {
        _pending.push_back(iRoot);
    }
    while (!_pending.empty()) {
        MTTEvaluationOutput* next = _pending.back();
        _pending.pop_back();
        next->Accept(this);
    }
    std::vector<MTTEvaluationOutputLeaf*> leaves;
    leaves.swap(_leaves);
    return leaves;
}

long OutputLeafCollector::VisitOutputNode(MTTEvaluationOutputNode* iNode)
{
    // Last child first, so that the first child is taken next.
    for (int i = iNode->GetChildCount() - 1; i >= 0; --i) {
        if (MTTEvaluationOutput* child = iNode->GetChild(i)) {
            _pending.push_back(child);
        }
    }
    return S_OK;
}

long OutputLeafCollector::VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf)
{
    _leaves.push_back(iLeaf);
    return S_OK;
}
