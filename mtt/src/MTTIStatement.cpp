#include "MTTIStatement.h"

#include "MTTStatList.h"

MTTIStatement::MTTIStatement() {}
MTTIStatement::MTTIStatement(const MTTIStatement& iOther) : MTTNode(iOther) {}
MTTIStatement& MTTIStatement::operator=(const MTTIStatement&)
{
    return *this;
}
MTTIStatement::~MTTIStatement() {}

MTTIStatement* MTTIStatement::Append(MTTIStatement* iNext)
{
    MTTIStatement* list = new MTTStatList();
    if (iNext == nullptr) return list;
    return list->Append(this)->Append(iNext);
}

// The shared late form: statements whose late output equals their
// immediate one call this body.
MTTEvaluationOutput* MTTIStatement::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return Evaluate(iEnvironment);
}
