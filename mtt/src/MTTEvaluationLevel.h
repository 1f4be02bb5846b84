#ifndef MTTEVALUATIONLEVEL_H
#define MTTEVALUATIONLEVEL_H

#include "MTTEvaluationEnvironment.h"

// Counts one level of statement nesting (a list, an if, a loop, a call's
// body) in the environment while it lives. Function calls are refused when
// the levels opened since the outermost call stand for too much stack
// (MTTCallGuard): counted the same way whether the output is built or only
// its text, the limit falls at the same place in both, and in every build.
class MTTEvaluationLevel {
public:
    explicit MTTEvaluationLevel(MTTEvaluationEnvironment* iEnvironment) : _environment(iEnvironment)
    {
        ++_environment->_levels;
    }
    ~MTTEvaluationLevel() { --_environment->_levels; }
    MTTEvaluationLevel(const MTTEvaluationLevel&) = delete;
    MTTEvaluationLevel& operator=(const MTTEvaluationLevel&) = delete;

private:
    MTTEvaluationEnvironment* _environment;
};

#endif
