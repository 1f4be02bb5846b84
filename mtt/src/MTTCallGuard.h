#ifndef MTTCALLGUARD_H
#define MTTCALLGUARD_H

class MTTEvaluationEnvironment;
class MTTNode;
class MTTString;

// Counts the function calls nested in one environment while it lives, and
// refuses a call that would nest too deep, so that a call chain that never
// ends stops with a message instead of exhausting the stack. Two limits
// hold: the number of nested calls, and the statement levels (lists, ifs,
// loops, call bodies; MTTEvaluationLevel) opened since the outermost call,
// which stand for the stack used (templates that nest blocks deeply between
// calls use more stack per call). Levels are counted rather than stack
// bytes measured, so that the limit falls at the same call whether the
// output is built or only its text is written, and in every build: a level
// takes at most 912 bytes of stack (measured in the address-sanitizer
// build; 208 in Release), so kMaxLevels levels stay within 4 MiB. The
// output of a deep recursion is as deep as the recursion, and printing or
// deleting it recurses along it: the limits keep that within the usual
// 8 MiB stack too, while allowing ordinary recursion of a couple of
// thousand levels. On refusal it prints MTTMessages::kCallTooDeep on the
// standard output, with the number of calls the refused one would make.
class MTTCallGuard {
public:
    static const int kMaxDepth = 2500;
    static const int kMaxLevels = 4096;

    // iReporter: the declaration, named as the reporter of the refusal.
    MTTCallGuard(const MTTNode* iReporter, MTTEvaluationEnvironment* iEnvironment, const MTTString& iFunctionName);
    ~MTTCallGuard();

    // False when the call was refused (the message is printed already).
    bool Allowed() const { return _entered; }

private:
    MTTCallGuard(const MTTCallGuard&) = delete;
    MTTCallGuard& operator=(const MTTCallGuard&) = delete;

    MTTEvaluationEnvironment* _environment;
    bool _entered;
};

#endif
