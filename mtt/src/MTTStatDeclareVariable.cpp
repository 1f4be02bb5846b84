#include "MTTStatDeclareVariable.h"

#include <utility>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIExpression.h"
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
    iEnvironment->AddVariable(iName, MTTString(iType == MTTVarInteger ? "0" : ""), iType);
}

template <class Out>
typename Out::Result MTTStatDeclareVariable::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    Declare(this, iEnvironment, _name, _type);
    return ioOut.Empty(this, iEnvironment->GetCurrentModelObject());
}

MTTEvaluationOutput* MTTStatDeclareVariable::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    MTTOutputBuilder builder;
    return Run(iEnvironment, builder);
}

bool MTTStatDeclareVariable::WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter)
{
    return Run(iEnvironment, ioWriter);
}

// Late, the variable is registered too, so that later statements know its
// type, and the declaration of the generated code is emitted.
MTTEvaluationOutput* MTTStatDeclareVariable::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    Declare(this, iEnvironment, _name, _type);
    bool integer = _type == MTTVarInteger;
    MTTString text(integer ? "int " : "KORUnicodeString ");
    text.Append(_name);
    if (integer) text.Append(" = 0");
    text.Append(";\n");
    return new MTTEvaluationOutputLeaf(this, nullptr, std::move(text));
}
