#include "TemporaryFileGuard.h"

#include <csignal>
#include <cstring>

#include <unistd.h>

namespace {

// The signal handler may only use what is async-signal-safe: fixed buffers
// and unlink(2).
const int kSlots = 4;
const size_t kPathMax = 4096;
char gPaths[kSlots][kPathMax];
volatile sig_atomic_t gUsed[kSlots];
const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveAndRedeliver(int iSignal)
{
    for (int i = 0; i < kSlots; ++i) {
        if (gUsed[i]) ::unlink(gPaths[i]);
    }
    std::signal(iSignal, SIG_DFL);
    ::raise(iSignal);
}

void InstallOnce()
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

}  // namespace

TemporaryFileGuard::TemporaryFileGuard() : _slot(-1) {}

TemporaryFileGuard::~TemporaryFileGuard()
{
    if (_slot < 0) return;
    gUsed[_slot] = 0;
    ::unlink(_path.c_str());
}

bool TemporaryFileGuard::Guard(const std::string& iPath)
{
    if (iPath.size() >= kPathMax) return false;
    InstallOnce();
    for (int i = 0; i < kSlots; ++i) {
        if (gUsed[i]) continue;
        std::memcpy(gPaths[i], iPath.c_str(), iPath.size() + 1);
        gUsed[i] = 1;
        _slot = i;
        _path = iPath;
        return true;
    }
    return false;
}

void TemporaryFileGuard::Release()
{
    if (_slot >= 0) gUsed[_slot] = 0;
    _slot = -1;
}
