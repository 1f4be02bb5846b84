#ifndef MTTDIAGNOSTICS_H
#define MTTDIAGNOSTICS_H

#include <cstdio>

// Every message of the library goes through these routines, with C stdio,
// so that hosts can capture the two streams at the descriptor level.
// Neither adds a line end: formats carry their own.
void MTTPrint(FILE* iStream, const char* iFormat, ...) __attribute__((format(printf, 2, 3)));
void MTTPrintOut(const char* iFormat, ...) __attribute__((format(printf, 1, 2)));

// Writes "AssertionFailed in <file>, <line> :<condition>" to standard error
// (base file name, no line end) and returns false.
bool MTTAssertionFailed(const char* iFile, int iLine, const char* iCondition);

// Evaluates to whether the condition held, so the caller can stop safely:
//   if (!MTT_CHECK(NULL != _cond, "NULL != _cond")) return NULL;
#define MTT_CHECK(cond, text) ((cond) ? true : MTTAssertionFailed(__FILE__, __LINE__, text))

#endif
