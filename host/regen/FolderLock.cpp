#include "FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderLock::FolderLock(const std::string& iFolder)
    : _fd(::open(iFolder.empty() ? "." : iFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    // A folder that cannot be opened or locked (a file system without
    // locks) is left unlocked: the commit itself still checks every file.
    if (_fd >= 0) ::flock(_fd, LOCK_EX);
}

FolderLock::~FolderLock()
{
    if (_fd >= 0) ::close(_fd);
}
