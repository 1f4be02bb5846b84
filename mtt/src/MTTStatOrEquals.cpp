#include "MTTStatOrEquals.h"

#include <memory>
#include <utility>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"

MTTStatOrEquals::MTTStatOrEquals(const MTTString& iName, MTTIExpression* iValue) : MTTStatVariableUpdate(iName, iValue) {}

long MTTStatOrEquals::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

MTTEvaluationOutput* MTTStatOrEquals::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!CheckEvaluation(iEnvironment)) return nullptr;
    std::unique_ptr<MTTString> current(iEnvironment->GetVariable(_name));
    MTTString operand = _value->EvaluateString(iEnvironment);
    if (!current) {
        MTTReport(this, this, stderr, "ERROR: Variable \"%s\" undeclared.\n", _name.ConvertToChar());
        return nullptr;
    }
    // No arithmetic: the value is the text of an or-expression that the
    // generated code computes.
    current->Append("|", 1).Append(operand);
    MTTReportingNode reporting(this);
    iEnvironment->SetVariable(_name, *current);
    return new MTTEvaluationOutputNode(this, iEnvironment->GetCurrentModelObject());
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
