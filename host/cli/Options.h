#ifndef OPTIONS_H
#define OPTIONS_H

#include <string>
#include <vector>

// What one mttgen run was asked to do, as the command line gave it.
struct Options {
    // A template and what it writes: a file, a file name template (--each),
    // or empty or "-" for the standard output.
    struct Job {
        std::string templatePath;  // "-" reads standard input
        std::string outputPath;
        bool WritesToStandardOutput() const { return outputPath.empty() || outputPath == "-"; }
    };

    std::vector<Job> jobs;                 // in command-line order
    std::string outputPath;                // while parsing: the -o just given, before it joins its template
    std::string modelPath;                 // empty: no model; "-" reads standard input
    std::string modelFormat;               // "json" or "yaml"; empty: from the model's name
    std::string traceFile;                 // empty: the trace goes to standard error; "-": standard output
    std::string explainPath;               // empty: no explain page; "-": standard output
    std::string explainSince;              // an earlier explain page or output to mark changes against
    std::string outputRoot;                // empty: the folder of -o (its part without directives)
    std::string depFile;                   // empty: none
    std::string depFileTarget;             // what the dependency file says depends; empty: the outputs
    std::string eachPath;                  // non-empty: one output file per element of this list
    std::vector<std::string> defines;      // "-D name=value", in order
    std::vector<std::string> includeDirs;  // "-I DIR", searched in order
    std::string commentSyntax;             // the user-code markers' comment opener; empty: from the output's name
    std::string keyMembers = "id,name";    // members that identify a user-code section's owner
    bool late = false;
    bool dump = false;
    bool normalize = false;
    bool trace = false;
    bool force = false;
    bool prune = false;
    bool keepGoing = false;
    bool check = false;
    bool diff = false;
    bool strict = false;
    bool help = false;
    bool version = false;

    bool AnyToStandardOutput() const
    {
        for (const Job& job : jobs) {
            if (job.WritesToStandardOutput()) return true;
        }
        return false;
    }
    bool TracesToStandardOutput() const { return traceFile == "-"; }
};

#endif
