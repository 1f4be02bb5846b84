#include "ChildProcess.h"

#include <chrono>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

ChildProcess::Figures ChildProcess::Run(const std::vector<std::string>& iArguments, const std::string& iOutputPath)
{
    Figures figures;
    std::vector<char*> argv;
    for (const std::string& argument : iArguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, iOutputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    auto begin = std::chrono::steady_clock::now();
    pid_t child = 0;
    int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return figures;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return figures;
    figures.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    figures.exitedWithZero = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    figures.peakMegaBytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    figures.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    return figures;
}
