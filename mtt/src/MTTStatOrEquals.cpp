#include "MTTStatOrEquals.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTIExpression.h"
#include "MTTLateSyntax.h"
#include "MTTMessages.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"
#include "MTTVariableEntry.h"
#include "MTTVariableTarget.h"

MTTStatOrEquals::MTTStatOrEquals(const MTTString& iName, MTTIExpression* iValue) : MTTStatVariableUpdate(iName, iValue)
{
}

long MTTStatOrEquals::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

// No arithmetic: the value grows by "|" and the operand's text, an
// or-expression that the generated code computes.
template <class Out>
typename Out::Result MTTStatOrEquals::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!CheckEvaluation(iEnvironment)) return ioOut.Fail();
    MTTVariableTarget target(iEnvironment, _name);
    MTTString operand = ExtensionOperand(iEnvironment, target);
    // Through an alias nothing more is reported (a read-only one was, and an
    // undeclared variable behind one reads as empty), and nothing is created.
    if (MTTVariableEntry* entry = target.Entry()) {
        entry->_value.Append(MTTLateSyntax::kFlagSeparator).Append(operand);
    } else if (!target.Aliased()) {
        MTTReport(this, this, stderr, MTTMessages::kUndeclaredVariable, _name.ConvertToChar());
        return ioOut.Fail();
    }
    return ioOut.Empty(this, iEnvironment->GetCurrentModelObject());
}

MTT_EVALUATE_BY_RUN(MTTStatOrEquals)

MTTEvaluationOutput* MTTStatOrEquals::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _value, "NULL != _value")) return nullptr;
    if (iEnvironment->GetVariableType(_name) != MTTVarInteger) {
        MTTReport(this, this, stderr, MTTMessages::kOrEqualsNotInteger, _name.ConvertToChar());
        return nullptr;
    }
    MTTString operand = _value->LateEvaluate(iEnvironment);
    return new MTTEvaluationOutputLeaf(this, nullptr, MTTLateSyntax::OrEquals(_name, operand));
}
