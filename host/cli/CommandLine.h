#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <string>
#include <vector>

#include "Options.h"

// Turns mttgen's arguments into Options. Knows the usage text.
class CommandLine {
public:
    // False with oError (one line, no line end) when the arguments are not
    // a valid invocation. With --help or --version nothing else is checked.
    static bool Parse(const std::vector<std::string>& iArguments, Options& oOptions, std::string& oError);
    static const char* HelpText();
};

#endif
