#ifndef CHILDPROCESS_H
#define CHILDPROCESS_H

#include <string>
#include <vector>

// One run of another program, measured as a whole: wall-clock time from
// start to exit and the CPU time it used (user and system).
class ChildProcess {
public:
    struct Figures {
        bool exitedWithZero = false;
        double wallSeconds = 0;
        double cpuSeconds = 0;
        double peakMegaBytes = 0;  // resident
    };

    // Runs iArguments[0] (a path) with iArguments; its standard output goes
    // to iOutputPath, its standard error to /dev/null.
    static Figures Run(const std::vector<std::string>& iArguments, const std::string& iOutputPath);
};

#endif
