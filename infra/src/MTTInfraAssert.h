#ifndef MTTINFRAASSERT_H
#define MTTINFRAASSERT_H

// The infrastructure reports misuse (positions out of range) the same way
// the library reports a failed precondition, then answers a neutral value.
bool MTTInfraAssertionFailed(const char* iFile, int iLine, const char* iCondition);

#define MTTINFRA_CHECK(cond, text) ((cond) ? true : MTTInfraAssertionFailed(__FILE__, __LINE__, text))

#endif
