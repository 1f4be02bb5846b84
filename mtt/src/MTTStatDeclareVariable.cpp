#include "MTTStatDeclareVariable.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
#include "MTTLateSyntax.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"

MTTStatDeclareVariable::MTTStatDeclareVariable(const MTTString& iName, MTTExpVariableType iType)
    : _name(iName), _type(iType)
{
}

MTTStatDeclareVariable::~MTTStatDeclareVariable() {}

long MTTStatDeclareVariable::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatDeclareVariable::GetChildCount()
{
    return 0;
}

MTTNode* MTTStatDeclareVariable::GetChild(int)
{
    return nullptr;
}

// Declaring resets the value (an existing variable keeps its type).
static void Declare(const MTTNode* iReporter, MTTEvaluationEnvironment* iEnvironment, const MTTString& iName,
                    MTTExpVariableType iType)
{
    MTTReportingNode reporting(iReporter);  // a write through a read-only alias
    const char* value = iType == MTTVarInteger ? MTTLateSyntax::kIntegerInitialValue : "";
    iEnvironment->AddVariable(iName, MTTString(value), iType);
}

template <class Out>
typename Out::Result MTTStatDeclareVariable::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    Declare(this, iEnvironment, _name, _type);
    return ioOut.Empty(this, iEnvironment->GetCurrentModelObject());
}

MTT_EVALUATE_BY_RUN(MTTStatDeclareVariable)

// Late, the variable is registered too, so that later statements know its
// type, and the declaration of the generated code is emitted.
MTTEvaluationOutput* MTTStatDeclareVariable::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    Declare(this, iEnvironment, _name, _type);
    return new MTTEvaluationOutputLeaf(this, nullptr, MTTLateSyntax::Declaration(_name, _type == MTTVarInteger));
}
