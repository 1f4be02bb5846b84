#include "StdoutDiversion.h"

#include <cstdio>

#include <unistd.h>

StdoutDiversion::StdoutDiversion() : _savedOut(-1)
{
    std::fflush(stdout);
    _savedOut = ::dup(STDOUT_FILENO);
    if (_savedOut >= 0) {
        ::dup2(STDERR_FILENO, STDOUT_FILENO);
    }
}

StdoutDiversion::~StdoutDiversion()
{
    std::fflush(stdout);
    if (_savedOut >= 0) {
        ::dup2(_savedOut, STDOUT_FILENO);
        ::close(_savedOut);
    }
}
