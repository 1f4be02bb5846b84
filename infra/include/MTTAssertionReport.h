#ifndef MTTASSERTIONREPORT_H
#define MTTASSERTIONREPORT_H

#include <cstring>

// How a failed precondition is reported, by the infrastructure and by the
// library alike (each prints it through its own routine): the format, to be
// filled with the source file's base name, the line and the condition's
// text. No line end follows.
class MTTAssertionReport {
public:
    static constexpr char kFormat[] = "AssertionFailed in %s, %d :%s";

    // iFile without its directories.
    static const char* BaseName(const char* iFile)
    {
        const char* slash = std::strrchr(iFile, '/');
        return slash != nullptr ? slash + 1 : iFile;
    }
};

#endif
