#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <string>
#include <vector>

#include "Options.h"

// mttgen's command line: one table of options, from which both the parsing
// and the option part of --help are made.
class CommandLine {
public:
    // False with oError (one line, no line end) for a usage error.
    static bool Parse(const std::vector<std::string>& iArguments, Options& oOptions, std::string& oError);
    static std::string HelpText();
};

#endif
