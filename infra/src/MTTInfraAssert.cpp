#include "MTTInfraAssert.h"

#include <cstdio>
#include <cstring>

bool MTTInfraAssertionFailed(const char* iFile, int iLine, const char* iCondition)
{
    const char* base = std::strrchr(iFile, '/');
    std::fprintf(stderr, "AssertionFailed in %s, %d :%s", base ? base + 1 : iFile, iLine, iCondition);
    return false;
}
