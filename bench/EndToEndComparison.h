#ifndef ENDTOENDCOMPARISON_H
#define ENDTOENDCOMPARISON_H

#include <cstdio>
#include <string>

// mttgen and Python's Jinja2 rendering the reference workload end to end,
// each as a process of its own: read the JSON model, parse the template,
// render, write the text. Both outputs must equal the baseline's text.
//
// The peak resident memory of each comes from one more run under
// /usr/bin/time (Debian's package time), a small process: a child spawned
// by this large one would count this one's memory too, as it shares it
// until it runs the program.
class EndToEndComparison {
public:
    // iJson: the model; iExpected: the text both must write.
    EndToEndComparison(std::string iJson, std::string iExpected);

    // Runs both iRuns times (after one run each that is not counted),
    // alternating, and prints the figures. False when either side could
    // not run or wrote other text.
    bool Run(std::FILE* iStream, int iRuns);

private:
    std::string _json;
    std::string _expected;
};

#endif
