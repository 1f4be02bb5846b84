#include "TemporaryFileGuard.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>

#include <unistd.h>

#include "SignalsHeld.h"

namespace {

// The guarded paths, as C strings the handler can pass to unlink(2), the
// only thing it does besides re-raising the signal.
std::set<char*>* gPaths = nullptr;

extern "C" void RemoveAndRedeliver(int iSignal)
{
    if (gPaths != nullptr) {
        for (char* path : *gPaths) ::unlink(path);
        // Then the folders among them, emptied of the files above.
        for (char* path : *gPaths) ::rmdir(path);
    }
    std::signal(iSignal, SIG_DFL);
    ::raise(iSignal);
}

}  // namespace

void TemporaryFileGuard::RemoveOnSignals()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (const int signal : SignalsHeld::kInterrupting) {
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = RemoveAndRedeliver;
        sigemptyset(&action.sa_mask);
        for (const int other : SignalsHeld::kInterrupting) sigaddset(&action.sa_mask, other);
        ::sigaction(signal, &action, nullptr);
    }
}

TemporaryFileGuard::~TemporaryFileGuard()
{
    if (!_guarded) return;
    const std::string path = _path;
    Release();
    ::unlink(path.c_str());
}

void TemporaryFileGuard::Guard(const std::string& iPath)
{
    Release();
    SignalsHeld held;
    if (gPaths == nullptr) gPaths = new std::set<char*>();
    _stored = ::strdup(iPath.c_str());
    if (_stored != nullptr) gPaths->insert(_stored);
    _path = iPath;
    _guarded = true;
}

void TemporaryFileGuard::Release()
{
    if (!_guarded) return;
    SignalsHeld held;
    if (_stored != nullptr) {
        gPaths->erase(_stored);
        std::free(_stored);
        _stored = nullptr;
    }
    if (gPaths != nullptr && gPaths->empty()) {
        delete gPaths;
        gPaths = nullptr;
    }
    _guarded = false;
}
