#include "MTTStatAssign.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTIExpression.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"

MTTStatAssign::MTTStatAssign(const MTTString& iName, MTTIExpression* iValue) : MTTStatVariableUpdate(iName, iValue) {}

long MTTStatAssign::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

template <class Out>
typename Out::Result MTTStatAssign::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!CheckEvaluation(iEnvironment)) return ioOut.Fail();
    MTTReportingNode reporting(this);  // a write through a read-only alias is reported by the environment
    iEnvironment->AddVariable(_name, _value->EvaluateString(iEnvironment), MTTVarString);
    return ioOut.Empty(this, iEnvironment->GetCurrentModelObject());
}

MTT_EVALUATE_BY_RUN(MTTStatAssign)

MTTEvaluationOutput* MTTStatAssign::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
