#ifndef MTTSTATCOMMENT_H
#define MTTSTATCOMMENT_H

#include "MTTIStatement.h"

// A template comment: an empty leaf that keeps its place in the output.
class MTTStatComment : public MTTIStatement {
public:
    explicit MTTStatComment(const MTTString& iText);
    ~MTTStatComment() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;


private:
    MTTString _comment;
};

#endif
