#ifndef ENDTOENDCOMPARISON_H
#define ENDTOENDCOMPARISON_H

#include <cstdio>
#include <string>

// mttgen and Python's Jinja2 rendering the reference workload end to end,
// each as a process of its own: read the JSON model, parse the template,
// render, write the text; and mttgen once more with the model in YAML.
// Every output must equal the baseline's text.
//
// The peak resident memory of each comes from one more run under
// /usr/bin/time (Debian's package time), a small process: a child spawned
// by this large one would count this one's memory too, as it shares it
// until it runs the program.
class EndToEndComparison {
public:
    // What Run measured: medians of wall-clock time, mttgen's peak (-1
    // where /usr/bin/time is missing); zeros before a Run succeeds.
    struct Figures {
        double mttgenMs = 0;
        double jinja2Ms = 0;
        double mttgenPeakMB = -1;
        double modelMB = 0;
        // mttgen with the YAML model.
        double yamlMs = 0;
        double yamlPeakMB = -1;
        double yamlModelMB = 0;
    };

    // iJson, iYaml: the model; iExpected: the text all must write.
    EndToEndComparison(std::string iJson, std::string iYaml, std::string iExpected);

    // Runs each iRuns times (after one run each that is not counted),
    // alternating, and prints the figures. False when either side could
    // not run or wrote other text.
    bool Run(std::FILE* iStream, int iRuns);
    const Figures& Result() const { return _figures; }

private:
    std::string _json;
    std::string _yaml;
    std::string _expected;
    Figures _figures;
};

#endif
