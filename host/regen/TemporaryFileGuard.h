#ifndef TEMPORARYFILEGUARD_H
#define TEMPORARYFILEGUARD_H

#include <string>

// Removes a temporary file when its owner is done with it, and also when
// the process is interrupted (SIGINT, SIGTERM, SIGHUP) while it exists, once
// RemoveOnSignals was called, so that a killed run leaves nothing behind.
// The signal is then delivered as usual. A guarded folder is removed there
// too when it is empty (its owner removes it itself). Any number of files
// may be guarded; the list is changed with those signals blocked, so the handler
// never sees it half changed.
class TemporaryFileGuard {
public:
    // Installs the handler (once per process). A program calls it; a
    // library leaves the choice to its host.
    static void RemoveOnSignals();

    TemporaryFileGuard() = default;
    ~TemporaryFileGuard();  // removes the file unless Release() was called
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

    // Starts guarding iPath (a guard holds one file at a time).
    void Guard(const std::string& iPath);
    // Stops guarding without removing (the file was put in place).
    void Release();
    const std::string& Path() const { return _path; }

private:
    std::string _path;
    bool _guarded = false;
    char* _stored = nullptr;  // the handler's copy of the path
};

#endif
