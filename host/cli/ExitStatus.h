#ifndef EXITSTATUS_H
#define EXITSTATUS_H

// mttgen's exit status; --help lists the same.
enum ExitStatus : int {
    kExitSuccess = 0,
    kExitEvaluationFailed = 1,  // or the output could not be written
    kExitBadInput = 2,          // usage, template, model, unreadable output file
    kExitUserCodeConflict = 3,  // existing sections do not fit; nothing written
};

#endif
