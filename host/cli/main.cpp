#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ExitStatus.h"
#include "Generator.h"
#include "Options.h"
#include "TemporaryFileGuard.h"

int main(int argc, char** argv)
{
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
    // An interrupted run takes its temporary files with it.
    TemporaryFileGuard::RemoveOnSignals();
    try {
        // After a successful run every file is in place, and the process
        // ends at once: taking a large model apart piece by piece would cost
        // a good part of the run. A failed run takes everything down, since
        // that removes temporary files; so do Debug builds, so that leak
        // checkers see everything freed.
        std::unique_ptr<Generator> generator(new Generator(options));
        const ExitStatus status = generator->Run();
#ifdef NDEBUG
        if (status == kExitSuccess) {
            std::fflush(nullptr);
            std::_Exit(status);
        }
#endif
        return status;
    } catch (const std::exception& e) {
        // Out of memory is the one failure that arrives as an exception.
        std::fprintf(stderr, "mttgen: error: %s\n", e.what());
        return kExitEvaluationFailed;
    }
}
