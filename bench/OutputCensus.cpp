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
    // Child arrays hold at least the children; the four-slot minimum of a
    // growing list is the usual case for nodes that do not reserve.
    size_t slots = count > 0 && count < 4 ? 4 : static_cast<size_t>(count);
    _childArrayBytes += (slots * sizeof(void*) + 15) / 16 * 16;
    for (int i = 0; i < count; ++i) Walk(iNode->GetChild(i));
    return 0;
}

long OutputCensus::VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf)
{
    ++_leaves;
    _textBytes += iLeaf->Text().Length();
    return 0;
}
