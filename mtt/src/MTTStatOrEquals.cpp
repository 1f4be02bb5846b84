#include "MTTStatOrEquals.h"

#include <memory>
#include <utility>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"
#include "MTTVariableEntry.h"
#include "MTTVariableTarget.h"

MTTStatOrEquals::MTTStatOrEquals(const MTTString& iName, MTTIExpression* iValue) : MTTStatVariableUpdate(iName, iValue) {}

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
    if (target.ReadOnly()) {
        // The alias is read as for any "|=", then the write is refused.
        std::unique_ptr<MTTString> current(iEnvironment->GetVariable(_name));
        MTTString operand = _value->EvaluateString(iEnvironment);
        MTTReportingNode reporting(this);
        iEnvironment->SetVariable(_name, operand);
        return ioOut.Empty(this, iEnvironment->GetCurrentModelObject());
    }
    MTTString operand = _value->EvaluateString(iEnvironment);
    if (MTTVariableEntry* entry = target.Entry()) {
        entry->_value.Append("|", 1).Append(operand);
    } else if (!target.Aliased()) {
        // Through an alias an undeclared variable reads as empty: nothing
        // is reported, and nothing is created.
        MTTReport(this, this, stderr, "ERROR: Variable \"%s\" undeclared.\n", _name.ConvertToChar());
        return ioOut.Fail();
    }
    return ioOut.Empty(this, iEnvironment->GetCurrentModelObject());
}

MTTEvaluationOutput* MTTStatOrEquals::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    MTTOutputBuilder builder;
    return Run(iEnvironment, builder);
}

bool MTTStatOrEquals::WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter)
{
    return Run(iEnvironment, ioWriter);
}

MTTEvaluationOutput* MTTStatOrEquals::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    if (!MTT_CHECK(NULL != _value, "NULL != _value")) return nullptr;
    if (iEnvironment->GetVariableType(_name) != MTTVarInteger) {
        MTTReport(this, this, stderr, "ERROR: Operation |= is forbidden with the non integer variable \"%s\".\n",
                 _name.ConvertToChar());
        return nullptr;
    }
    MTTString text(_name);
    text.Append("|=", 2).Append(_value->LateEvaluate(iEnvironment)).Append(";\n", 2);
    return new MTTEvaluationOutputLeaf(this, nullptr, std::move(text));
}
