#include "TemporaryFileGuard.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>

#include <unistd.h>

namespace {

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The guarded paths, as C strings the handler can pass to unlink(2), the
// only thing it does besides re-raising the signal.
std::set<char*>* gPaths = nullptr;

extern "C" void RemoveAndRedeliver(int iSignal)
{
    if (gPaths != nullptr) {
        for (char* path : *gPaths) ::unlink(path);
    }
    std::signal(iSignal, SIG_DFL);
    ::raise(iSignal);
}

// Blocks the signals while the list changes.
class SignalsHeld {
public:
    SignalsHeld()
    {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : kSignals) sigaddset(&set, signal);
        ::pthread_sigmask(SIG_BLOCK, &set, &_saved);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &_saved, nullptr); }

private:
    sigset_t _saved;
};

}  // namespace

void TemporaryFileGuard::RemoveOnSignals()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (const int signal : kSignals) {
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = RemoveAndRedeliver;
        sigemptyset(&action.sa_mask);
        for (const int other : kSignals) sigaddset(&action.sa_mask, other);
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
