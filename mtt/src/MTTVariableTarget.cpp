#include "MTTVariableTarget.h"

#include "MTTAliasResolution.h"
#include "MTTEvaluationState.h"
#include "MTTExpVariable.h"

MTTVariableTarget::MTTVariableTarget(MTTEvaluationEnvironment* iEnvironment, const MTTString& iName)
    : _name(&iName), _entry(nullptr), _readOnly(false), _aliased(false)
{
    Resolve(iEnvironment, iName);
}

// Each alias stays marked as being resolved while the names behind it are
// looked up, as in the environment's own writes.
void MTTVariableTarget::Resolve(MTTEvaluationEnvironment* iEnvironment, const MTTString& iName)
{
    MTTAliasResolution alias(iEnvironment, iName);
    if (alias.Expression() == nullptr) {
        _name = &iName;
        _entry = MTTEvaluationState::Of(iEnvironment).FindVariable(iName);
        return;
    }
    _aliased = true;
    MTTExpVariable* variable = alias.Variable();
    if (variable == nullptr) {
        _readOnly = true;
        return;
    }
    Resolve(iEnvironment, variable->Name());
}
