#include "StreamCapture.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

int TemporaryFile()
{
    char name[] = "/tmp/mtt-capture-XXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) std::abort();
    unlink(name);
    return fd;
}

std::string ReadAll(int fd)
{
    std::string text;
    lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    return text;
}

}  // namespace

StreamCapture::StreamCapture() : _stopped(false)
{
    std::fflush(stdout);
    std::fflush(stderr);
    _savedOut = dup(1);
    _savedErr = dup(2);
    _fileOut = TemporaryFile();
    _fileErr = TemporaryFile();
    dup2(_fileOut, 1);
    dup2(_fileErr, 2);
}

StreamCapture::~StreamCapture()
{
    Stop();
}

void StreamCapture::Stop()
{
    if (_stopped) return;
    _stopped = true;
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(_savedOut, 1);
    dup2(_savedErr, 2);
    close(_savedOut);
    close(_savedErr);
    _out = ReadAll(_fileOut);
    _err = ReadAll(_fileErr);
    close(_fileOut);
    close(_fileErr);
}

const std::string& StreamCapture::Out()
{
    Stop();
    return _out;
}

const std::string& StreamCapture::Err()
{
    Stop();
    return _err;
}
