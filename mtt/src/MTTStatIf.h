#ifndef MTTSTATIF_H
#define MTTSTATIF_H

#include "MTTIStatement.h"

class MTTIExpression;

// The conditional. Immediately it evaluates only the chosen part. Late, a
// condition that reads no model property is decided at once; one that does
// becomes an "if (" construct around both parts.
class MTTStatIf : public MTTIStatement {
public:
    MTTStatIf(MTTIExpression* iCondition, MTTIStatement* iThen, MTTIStatement* iElse);
    ~MTTStatIf() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

private:
    MTTStatIf(const MTTStatIf&) = delete;
    MTTStatIf& operator=(const MTTStatIf&) = delete;

    MTTIExpression* _cond;
    MTTIStatement* _then;
    MTTIStatement* _else;
};

#endif
