#include "MTTVariableTarget.h"

#include "MTTAliasResolution.h"
#include "MTTEvaluationState.h"
#include "MTTExpVariable.h"

MTTVariableTarget::MTTVariableTarget(const MTTEvaluationEnvironment* iEnvironment, const MTTString& iName)
    : _name(&iName), _entry(nullptr), _readOnly(false), _aliased(false)
{
    Resolve(iEnvironment, iName);
}

// Each alias stays marked as being resolved while the names behind it are
// looked up, so that a chain that leads back to itself ends at the table.
void MTTVariableTarget::Resolve(const MTTEvaluationEnvironment* iEnvironment, const MTTString& iName)
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
        _name = &iName;
        _readOnly = true;
        return;
    }
    Resolve(iEnvironment, variable->Name());
}
