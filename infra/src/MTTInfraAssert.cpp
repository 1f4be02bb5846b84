#include "MTTInfraAssert.h"

#include <cstdio>

#include "MTTAssertionReport.h"

bool MTTInfraAssertionFailed(const char* iFile, int iLine, const char* iCondition)
{
    std::fprintf(stderr, MTTAssertionReport::kFormat, MTTAssertionReport::BaseName(iFile), iLine, iCondition);
    return false;
}
