#ifndef OPTIONS_H
#define OPTIONS_H

#include <string>
#include <vector>

// What one mttgen run was asked to do, as the command line gave it.
struct Options {
    std::string templatePath;              // "-" reads standard input
    std::string modelPath;                 // empty: no model; "-" reads standard input
    std::string outputPath;                // empty or "-": standard output
    std::string traceFile;                 // empty: the trace goes to standard error; "-": standard output
    std::string explainPath;               // empty: no explain page; "-": standard output
    std::string outputRoot;                // empty: the folder of -o (its part without directives)
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
    bool strict = false;
    bool help = false;
    bool version = false;

    bool WritesToStandardOutput() const { return outputPath.empty() || outputPath == "-"; }
    bool TracesToStandardOutput() const { return traceFile == "-"; }
};

#endif
