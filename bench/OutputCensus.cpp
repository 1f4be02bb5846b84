#include "OutputCensus.h"

#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"

void OutputCensus::Walk(MTTEvaluationOutput* iRoot)
{
    if (iRoot != nullptr) iRoot->Accept(this);
}

long OutputCensus::VisitOutputNode(MTTEvaluationOutputNode* iNode)
{
    ++_nodes;
    int count = iNode->GetChildCount();
    for (int i = 0; i < count; ++i) Walk(iNode->GetChild(i));
    return 0;
}

long OutputCensus::VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf)
{
    ++_leaves;
    _textBytes += iLeaf->Text().Length();
    return 0;
}
