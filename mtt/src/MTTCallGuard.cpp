#include "MTTCallGuard.h"

#include <cstdint>

#include "MTTDiagnostics.h"
#include "MTTEvaluationEnvironment.h"

namespace {

// The distance between two addresses on the same stack, in either
// direction of growth.
size_t StackDistance(const char* iFrom, const char* iTo)
{
    uintptr_t from = reinterpret_cast<uintptr_t>(iFrom);
    uintptr_t to = reinterpret_cast<uintptr_t>(iTo);
    return from > to ? from - to : to - from;
}

}  // namespace

MTTCallGuard::MTTCallGuard(const MTTNode* iReporter, MTTEvaluationEnvironment* iEnvironment,
                           const MTTString& iFunctionName)
    : _environment(iEnvironment), _entered(false)
{
    if (_environment == nullptr) return;
    char marker = 0;
    const char* here = &marker;
    if (_environment->_callDepth == 0) _environment->_callStackBase = here;
    if (_environment->_callDepth >= kMaxDepth ||
        StackDistance(_environment->_callStackBase, here) > kMaxStackBytes) {
        MTTReport(iReporter, iReporter, stdout, "ERROR: function call: function \"%s\" nested too deeply (%d calls).\n",
                    iFunctionName.ConvertToChar(), _environment->_callDepth + 1);
        return;
    }
    ++_environment->_callDepth;
    _entered = true;
}

MTTCallGuard::~MTTCallGuard()
{
    if (_entered) --_environment->_callDepth;
}
