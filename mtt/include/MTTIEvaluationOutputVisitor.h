#ifndef MTTIEVALUATIONOUTPUTVISITOR_H
#define MTTIEVALUATIONOUTPUTVISITOR_H

#include "MTTExport.h"

class MTTEvaluationOutputNode;
class MTTEvaluationOutputLeaf;

// Implemented by consumers of an output tree. Accept does not descend: a
// visitor that wants the whole tree walks a node's children itself.
class MTT_EXPORT MTTIEvaluationOutputVisitor {
public:
    MTTIEvaluationOutputVisitor();
    MTTIEvaluationOutputVisitor(const MTTIEvaluationOutputVisitor& iOther);
    MTTIEvaluationOutputVisitor& operator=(const MTTIEvaluationOutputVisitor& iOther);
    virtual ~MTTIEvaluationOutputVisitor();
    virtual long VisitOutputNode(MTTEvaluationOutputNode* iNode) = 0;
    virtual long VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf) = 0;
};

#endif
