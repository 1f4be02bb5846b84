#include "OutputCensus.h"

#include "MTTEvaluationOutputNode.h"

void OutputCensus::Walk(MTTEvaluationOutput* iRoot)
{
    if (iRoot != nullptr) iRoot->Accept(this);
}

long OutputCensus::VisitOutputNode(MTTEvaluationOutputNode* iNode)
{
    ++_nodes;
    for (int i = 0; i < iNode->GetChildCount(); ++i) Walk(iNode->GetChild(i));
    return 0;
}

long OutputCensus::VisitOutputLeaf(MTTEvaluationOutputLeaf*)
{
    ++_leaves;
    return 0;
}
