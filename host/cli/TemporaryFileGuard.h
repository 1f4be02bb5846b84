#ifndef TEMPORARYFILEGUARD_H
#define TEMPORARYFILEGUARD_H

#include <string>

// Removes a temporary file when its owner is done with it, and also when
// the process is interrupted (SIGINT, SIGTERM, SIGHUP) while it exists, so
// that a killed run leaves nothing behind. The signal is then delivered as
// usual. At most a few files are guarded at a time.
class TemporaryFileGuard {
public:
    TemporaryFileGuard();
    ~TemporaryFileGuard();  // removes the file unless Release() was called
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

    // Starts guarding iPath (false when too many are guarded).
    bool Guard(const std::string& iPath);
    // Stops guarding without removing (the file was renamed into place).
    void Release();
    const std::string& Path() const { return _path; }

private:
    std::string _path;
    int _slot;
};

#endif
