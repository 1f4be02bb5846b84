#ifndef SIGNALSHELD_H
#define SIGNALSHELD_H

#include <csignal>

// Holds the signals that interrupt a run (SIGINT, SIGTERM, SIGHUP, SIGQUIT)
// on the calling thread while it lives; they are delivered when it goes.
// What must not be seen half done (the list of temporary files, the swap
// of a run's files) is done while they are held. A hold inside another
// costs nothing: the outer one holds and lets go.
class SignalsHeld {
public:
    SignalsHeld()
    {
        if (Depth()++ > 0) return;
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : kInterrupting) sigaddset(&set, signal);
        ::pthread_sigmask(SIG_BLOCK, &set, &_saved);
    }
    ~SignalsHeld()
    {
        if (--Depth() == 0) ::pthread_sigmask(SIG_SETMASK, &_saved, nullptr);
    }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

    static constexpr int kInterrupting[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

private:
    static int& Depth()
    {
        thread_local int depth = 0;
        return depth;
    }

    sigset_t _saved;
};

#endif
