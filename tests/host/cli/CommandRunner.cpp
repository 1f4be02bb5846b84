#include "CommandRunner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <sys/wait.h>

std::string CommandRunner::Quote(const std::string& iArgument)
{
    std::string quoted = "'";
    for (const char c : iArgument) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string CommandRunner::ReadFile(const std::string& iPath)
{
    std::ifstream file(iPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void CommandRunner::WriteFile(const std::string& iPath, const std::string& iText)
{
    std::ofstream file(iPath, std::ios::binary | std::ios::trunc);
    file << iText;
}

std::string CommandRunner::MakeTemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "mtt-cli-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    return pattern;
}

CommandResult CommandRunner::Run(const std::vector<std::string>& iArguments, const std::string& iDirectory,
                                 const std::string& iStdinPath)
{
    const std::string captures = MakeTemporaryFolder();
    std::string command = "cd " + Quote(iDirectory) + " &&";
    for (const std::string& argument : iArguments) {
        command += " " + Quote(argument);
    }
    command += " <" + Quote(iStdinPath.empty() ? std::string("/dev/null") : iStdinPath);
    command += " >" + Quote(captures + "/out") + " 2>" + Quote(captures + "/err");
    const int status = std::system(command.c_str());
    CommandResult result;
    result.exitCode = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFile(captures + "/out");
    result.err = ReadFile(captures + "/err");
    std::filesystem::remove_all(captures);
    return result;
}
