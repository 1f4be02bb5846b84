#include "MTTAliasResolution.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTExpVariable.h"

MTTAliasResolution::MTTAliasResolution(const MTTEvaluationEnvironment* iEnvironment, const MTTString& iName)
    : _environment(iEnvironment), _name(iName), _scopePosition(0), _expression(nullptr), _previous(nullptr)
{
    _expression = _environment->FindAlias(iName, &_scopePosition);
    if (_scopePosition != 0) {
        _previous = _environment->_resolving;
        _environment->_resolving = this;
    }
}

MTTAliasResolution::~MTTAliasResolution()
{
    if (_scopePosition != 0) _environment->_resolving = _previous;
}

MTTExpVariable* MTTAliasResolution::Variable() const
{
    // Only the library's own variable expressions are followed; a host's
    // expression that merely answers kind 0 is read-only.
    if (_expression == nullptr || _expression->GetExpType() != 0) return nullptr;
    return dynamic_cast<MTTExpVariable*>(_expression);
}

int MTTAliasResolution::ResumeBelow(const MTTAliasResolution* iInnermost, const MTTString& iName, int iScopeCount)
{
    for (const MTTAliasResolution* r = iInnermost; r != nullptr; r = r->_previous) {
        if (r->_name == iName) return r->_scopePosition;
    }
    return iScopeCount + 1;
}
