#ifndef COMMANDRUNNER_H
#define COMMANDRUNNER_H

#include <string>
#include <vector>

// Runs a program through the shell and collects what it did.
struct CommandResult {
    int exitCode = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

class CommandRunner {
public:
    // Runs iArguments (the program first) in iDirectory with iStdinPath
    // (empty: /dev/null) as standard input.
    static CommandResult Run(const std::vector<std::string>& iArguments, const std::string& iDirectory,
                             const std::string& iStdinPath = std::string());
    static std::string Quote(const std::string& iArgument);
    static std::string ReadFile(const std::string& iPath);
    static void WriteFile(const std::string& iPath, const std::string& iText);
    // A new empty folder under the system's temporary folder.
    static std::string MakeTemporaryFolder();
};

#endif
