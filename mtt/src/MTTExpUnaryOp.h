#ifndef MTTEXPUNARYOP_H
#define MTTEXPUNARYOP_H

#include "MTTIExpression.h"

// Base of negation and the defined test: owns the operand, its only child.
// Neither has a late form: asked for one, they give the default report.
class MTTExpUnaryOp : public MTTIExpression {
public:
    explicit MTTExpUnaryOp(MTTIExpression* arg);
    ~MTTExpUnaryOp() override;

    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    int GetExpType() override;

    MTTIExpression* GetArg() const { return _arg; }

protected:
    // The operand's truth; false after reporting "NULL != _arg".
    bool OperandTruth(MTTEvaluationEnvironment* iEnvironment);

    MTTIExpression* _arg;

private:
    MTTExpUnaryOp(const MTTExpUnaryOp&) = delete;
    MTTExpUnaryOp& operator=(const MTTExpUnaryOp&) = delete;
};

#endif
