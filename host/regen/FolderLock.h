#ifndef FOLDERLOCK_H
#define FOLDERLOCK_H

#include <string>

// Holds an exclusive lock on a folder while it lives, so that two runs
// writing into one output root do not interleave their commits and lose
// each other's manifest entries. Advisory (flock): only runs take it.
class FolderLock {
public:
    explicit FolderLock(const std::string& iFolder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int _fd;
};

#endif
