#include "MTTDiagnostics.h"

#include <cstdarg>
#include <cstring>

void MTTPrint(FILE* iStream, const char* iFormat, ...)
{
    va_list arguments;
    va_start(arguments, iFormat);
    std::vfprintf(iStream, iFormat, arguments);
    va_end(arguments);
}

void MTTPrintOut(const char* iFormat, ...)
{
    va_list arguments;
    va_start(arguments, iFormat);
    std::vfprintf(stdout, iFormat, arguments);
    va_end(arguments);
}

bool MTTAssertionFailed(const char* iFile, int iLine, const char* iCondition)
{
    const char* base = std::strrchr(iFile, '/');
    MTTPrint(stderr, "AssertionFailed in %s, %d :%s", base ? base + 1 : iFile, iLine, iCondition);
    return false;
}
