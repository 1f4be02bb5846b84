#ifndef MTTEXPBINARYOP_H
#define MTTEXPBINARYOP_H

#include "MTTExpressionText.h"
#include "MTTIExpression.h"

// Base of the eight two-operand operators: owns both operands and a heap
// copy of the operator text, and gives them one late form, "( lhs op rhs )".
class MTTExpBinaryOp : public MTTIExpression {
public:
    MTTExpBinaryOp(MTTIExpression* lhs, MTTIExpression* rhs, const char* op);
    ~MTTExpBinaryOp() override;

    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    int GetExpType() override;
    MTTString LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetOperator() const;
    MTTIExpression* GetLhs() const { return _lhs; }
    MTTIExpression* GetRhs() const { return _rhs; }

protected:
    // Reports a missing operand ("NULL != _lhs", then "NULL != _rhs");
    // false when either is missing.
    bool CheckOperands() const;
    // The six comparisons: both texts, left first, compared as text. Inline,
    // with the comparison inline too: conditions run once per loop element.
    template <class Compare>
    bool CompareTexts(MTTEvaluationEnvironment* iEnvironment, Compare iCompare)
    {
        if ((_lhs == nullptr || _rhs == nullptr) && !CheckOperands()) return false;
        MTTExpressionText left(_lhs, _lhsKind, iEnvironment);
        MTTExpressionText right(_rhs, _rhsKind, iEnvironment);
        return iCompare(left.Text(), right.Text()) != 0;
    }

    MTTIExpression* _lhs;
    MTTIExpression* _rhs;
    char* _operator;
    // What the operands are, for reading their texts without copies.
    MTTExpressionText::Kind _lhsKind;
    MTTExpressionText::Kind _rhsKind;

private:
    MTTExpBinaryOp(const MTTExpBinaryOp&) = delete;
    MTTExpBinaryOp& operator=(const MTTExpBinaryOp&) = delete;
};

#endif
