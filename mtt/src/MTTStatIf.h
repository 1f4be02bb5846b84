#ifndef MTTSTATIF_H
#define MTTSTATIF_H

#include "MTTIStatement.h"
#include "MTTStatementKind.h"
#include "MTTStatementRun.h"

class MTTIExpression;

// The conditional. Immediately it evaluates only the chosen part. Late, a
// condition that reads no model property is decided at once; one that does
// becomes an "if (" construct around both parts.
class MTTStatIf final : public MTTIStatement {
public:
    MTTStatIf(MTTIExpression* iCondition, MTTIStatement* iThen, MTTIStatement* iElse);
    ~MTTStatIf() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTT_EVALUATED_BY_RUN;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

private:
    MTTStatIf(const MTTStatIf&) = delete;
    MTTStatIf& operator=(const MTTStatIf&) = delete;

    MTTIExpression* _cond;
    MTTIStatement* _then;
    MTTIStatement* _else;
    MTTStatementKind _thenKind;
    MTTStatementKind _elseKind;
};

#endif
