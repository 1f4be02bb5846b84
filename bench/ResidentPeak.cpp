#include "ResidentPeak.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void ResidentPeak::Reset()
{
    // "5" resets the peak resident set size (Linux 4.0 and later).
    if (std::FILE* file = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", file);
        std::fclose(file);
    }
}

double ResidentPeak::MegaBytes()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) return -1;
    char line[256];
    double megaBytes = -1;
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) megaBytes = std::atof(line + 6) * 1024 / 1e6;
    }
    std::fclose(status);
    return megaBytes;
}
