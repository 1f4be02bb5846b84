#include "MTTExpBinaryOp.h"

#include <cstring>
#include <new>

#include "MTTLateSyntax.h"
#include "MTTNodeSupport.h"

namespace {

char* CopyOperator(const char* iText)
{
    if (iText == nullptr) iText = "";
    size_t length = std::strlen(iText);
    char* copy = new char[length + 1];
    std::memcpy(copy, iText, length + 1);
    return copy;
}

}  // namespace

MTTExpBinaryOp::MTTExpBinaryOp(MTTIExpression* lhs, MTTIExpression* rhs, const char* op)
    : _lhs(lhs),
      _rhs(rhs),
      _operator(nullptr),
      _lhsKind(MTTExpressionText::KindOf(lhs)),
      _rhsKind(MTTExpressionText::KindOf(rhs))
{
    try {
        _operator = CopyOperator(op);
    } catch (...) {
        // The operands were handed over: release them on the way out.
        MTTDeleteOwned(_lhs);
        MTTDeleteOwned(_rhs);
        throw;
    }
}

MTTExpBinaryOp::~MTTExpBinaryOp()
{
    MTTDeleteOwned(_lhs);
    MTTDeleteOwned(_rhs);
    delete[] _operator;
    _operator = nullptr;
}

int MTTExpBinaryOp::GetChildCount()
{
    return 2;
}

MTTNode* MTTExpBinaryOp::GetChild(int iIndex)
{
    return MTTChildAt(iIndex, {_lhs, _rhs});
}

int MTTExpBinaryOp::GetExpType()
{
    return 2;
}

MTTString MTTExpBinaryOp::GetOperator() const
{
    return MTTString(_operator);
}

bool MTTExpBinaryOp::CheckOperands() const
{
    bool lhs = MTT_CHECK(NULL != _lhs, "NULL != _lhs");
    bool rhs = MTT_CHECK(NULL != _rhs, "NULL != _rhs");
    return lhs && rhs;
}

MTTString MTTExpBinaryOp::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != _lhs && NULL != _rhs, "NULL != _lhs && NULL != _rhs")) return MTTString();
    // Left before right: each may print its own message.
    MTTString lhs = _lhs->LateEvaluate(iEnvironment);
    MTTString rhs = _rhs->LateEvaluate(iEnvironment);
    return MTTLateSyntax::BinaryOperation(lhs, _operator, rhs);
}
