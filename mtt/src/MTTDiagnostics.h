#ifndef MTTDIAGNOSTICS_H
#define MTTDIAGNOSTICS_H

#include <cstdio>

#include "MTTInfraCompiler.h"

class MTTNode;

// Every message of the library goes through these routines, with C stdio,
// so that hosts can capture the two streams at the descriptor level.
// None adds a line end: formats carry their own. Each message is also told
// to the thread's MTTIMessageObserver, when one is set, which the host may
// leave it to alone (MTTSetMessagePrinting).
void MTTPrint(FILE* iStream, const char* iFormat, ...) MTT_PRINTF_FORMAT(2, 3);
void MTTPrintOut(const char* iFormat, ...) MTT_PRINTF_FORMAT(1, 2);
// The same, naming the node that reports and the node the message is about.
void MTTReport(const MTTNode* iReporter, const MTTNode* iSubject, FILE* iStream, const char* iFormat, ...)
    MTT_PRINTF_FORMAT(4, 5);

// While it lives, messages printed without a node (the environment's) are
// reported as coming from iNode. Inline, on static TLS: one is set around
// every read of a model value.
class MTTReportingNode {
public:
    explicit MTTReportingNode(const MTTNode* iNode) : _previous(tCurrent) { tCurrent = iNode; }
    ~MTTReportingNode() { tCurrent = _previous; }
    MTTReportingNode(const MTTReportingNode&) = delete;
    MTTReportingNode& operator=(const MTTReportingNode&) = delete;

    // The innermost one's node on this thread, or null.
    static const MTTNode* Current() { return tCurrent; }

private:
    static MTT_FAST_THREAD_LOCAL const MTTNode* tCurrent MTT_INITIAL_EXEC;

    const MTTNode* _previous;
};

// Writes "AssertionFailed in <file>, <line> :<condition>" to standard error
// (base file name, no line end) and returns false.
bool MTTAssertionFailed(const char* iFile, int iLine, const char* iCondition);

// Evaluates to whether the condition held, so the caller can stop safely:
//   if (!MTT_CHECK(NULL != _cond, "NULL != _cond")) return NULL;
#define MTT_CHECK(cond, text) ((cond) ? true : MTTAssertionFailed(__FILE__, __LINE__, text))

#endif
