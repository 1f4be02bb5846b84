#include "MTTCallGuard.h"

#include "MTTDiagnostics.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTMessages.h"

MTTCallGuard::MTTCallGuard(const MTTNode* iReporter, MTTEvaluationEnvironment* iEnvironment,
                           const MTTString& iFunctionName)
    : _environment(iEnvironment), _entered(false)
{
    if (_environment == nullptr) return;
    if (_environment->_callDepth == 0) _environment->_callLevelBase = _environment->_levels;
    if (_environment->_callDepth >= kMaxDepth || _environment->_levels - _environment->_callLevelBase >= kMaxLevels) {
        MTTReport(iReporter, iReporter, stdout, MTTMessages::kCallTooDeep, iFunctionName.ConvertToChar(),
                  _environment->_callDepth + 1);
        return;
    }
    ++_environment->_callDepth;
    _entered = true;
}

MTTCallGuard::~MTTCallGuard()
{
    if (_entered) --_environment->_callDepth;
}
