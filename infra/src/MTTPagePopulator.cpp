#include "MTTPagePopulator.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <linux/futex.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>
#if defined(MADV_POPULATE_WRITE)
#define MTT_POPULATES_PAGES 1
#endif
#endif

#if defined(MTT_POPULATES_PAGES)

namespace {

// Requests wait in a ring: written by one caller at a time, read by the
// thread, which sleeps on a count of wake-ups.
const uint32_t kSlots = 64;

struct PageRange {
    char* pages;
    size_t bytes;
};

struct Requests {
    PageRange ranges[kSlots];
    std::atomic<uint32_t> posted{0};
    std::atomic<uint32_t> served{0};
    // Raised with each request and when the thread is to end; the thread
    // sleeps on it.
    std::atomic<uint32_t> wakeups{0};
    std::atomic<bool> ending{false};
    bool started = false;  // by callers only
    bool refused = false;  // no thread could be started
    pthread_t thread;
    pid_t process = 0;  // that started the thread
};

static_assert(sizeof(std::atomic<uint32_t>) == sizeof(uint32_t) && std::atomic<uint32_t>::is_always_lock_free,
              "a futex word is a plain 32-bit integer");

// Never destroyed: the thread serves until the process ends.
Requests& TheRequests()
{
    static Requests* requests = new Requests();
    return *requests;
}

uint32_t* FutexWord(std::atomic<uint32_t>& iCounter)
{
    return reinterpret_cast<uint32_t*>(&iCounter);
}

void* Serve(void*)
{
    Requests& requests = TheRequests();
    uint32_t served = requests.served.load(std::memory_order_relaxed);
    for (;;) {
        // Read first: a request or the end signalled after this wakes the
        // sleep below at once.
        const uint32_t wakeups = requests.wakeups.load(std::memory_order_acquire);
        const uint32_t posted = requests.posted.load(std::memory_order_acquire);
        if (served == posted) {
            if (requests.ending.load(std::memory_order_acquire)) return nullptr;
            syscall(SYS_futex, FutexWord(requests.wakeups), FUTEX_WAIT_PRIVATE, wakeups, nullptr, nullptr, 0);
            continue;
        }
        const PageRange range = requests.ranges[served % kSlots];
        MTTPagePopulator::PopulateNow(range.pages, range.bytes);
        requests.served.store(++served, std::memory_order_release);
    }
}

void Wake(Requests& ioRequests)
{
    ioRequests.wakeups.fetch_add(1, std::memory_order_release);
    syscall(SYS_futex, FutexWord(ioRequests.wakeups), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}

// When the process exits (or the library is unloaded), the thread finishes
// what it was asked and ends, so that nothing of it outlives the library or
// looks lost to a leak checker. Not in a forked child, which has no thread.
void EndThread()
{
    Requests& requests = TheRequests();
    if (requests.process != getpid()) return;
    requests.ending.store(true, std::memory_order_release);
    Wake(requests);
    pthread_join(requests.thread, nullptr);
}

// With every signal blocked: a signal meant for the process goes to a
// thread of the program's own. Its stack is small; it calls madvise.
bool StartThread(Requests& ioRequests)
{
    sigset_t all, previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    pthread_attr_t attributes;
    bool started = pthread_attr_init(&attributes) == 0;
    if (started) {
        pthread_attr_setstacksize(&attributes, 256 * 1024);
        started = pthread_create(&ioRequests.thread, &attributes, Serve, nullptr) == 0;
        pthread_attr_destroy(&attributes);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (!started) return false;
    ioRequests.process = getpid();
    std::atexit(EndThread);
    return true;
}

}  // namespace

bool MTTPagePopulator::Request(char* iPages, size_t iBytes)
{
    Requests& requests = TheRequests();
    if (requests.refused) return false;
    if (!requests.started) {
        requests.started = StartThread(requests);
        requests.refused = !requests.started;
        if (requests.refused) return false;
    }
    const uint32_t posted = requests.posted.load(std::memory_order_relaxed);
    if (posted - requests.served.load(std::memory_order_acquire) >= kSlots) return false;
    requests.ranges[posted % kSlots] = PageRange{iPages, iBytes};
    requests.posted.store(posted + 1, std::memory_order_release);
    Wake(requests);
    return true;
}

void MTTPagePopulator::PopulateNow(char* iPages, size_t iBytes)
{
    madvise(iPages, iBytes, MADV_POPULATE_WRITE);  // older kernels refuse it: pages then fault in
}

#else

bool MTTPagePopulator::Request(char*, size_t)
{
    return false;
}

void MTTPagePopulator::PopulateNow(char*, size_t) {}

#endif
