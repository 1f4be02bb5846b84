#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ExitStatus.h"
#include "Generator.h"
#include "Options.h"

int main(int argc, char** argv) {
    // Unbuffered, so that messages on both streams keep their order and the
    // generated text goes out in one write.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    Options options;
    std::string error;
    if (!CommandLine::Parse(arguments, options, error)) {
        std::fprintf(stderr, "mttgen: error: %s\nTry 'mttgen --help' for more information.\n", error.c_str());
        return kExitBadInput;
    }
    if (options.help) {
        std::fputs(CommandLine::HelpText().c_str(), stdout);
        return kExitSuccess;
    }
    if (options.version) {
        std::printf("mttgen %s\n", MTTGEN_VERSION);
        return kExitSuccess;
    }
    try {
        return Generator(options).Run();
    } catch (const std::exception& e) {
        // Out of memory is the one failure that arrives as an exception.
        std::fprintf(stderr, "mttgen: error: %s\n", e.what());
        return kExitEvaluationFailed;
    }
}
