#ifndef MTTPAGEPOPULATOR_H
#define MTTPAGEPOPULATOR_H

#include <cstddef>

// Makes pages resident on a thread of its own, ahead of the thread that
// will write them: the first render of a process that builds tens of
// megabytes of tree otherwise pays a fault per 4 KiB page itself, which on
// a virtual machine took as long as the render's own work.
//
// Only for memory that stays mapped for the life of the process (the block
// pool's spans): a range handed over is served whenever the thread gets to
// it. Nothing waits for it: a page the writer reaches first faults in as
// usual. Requests and the thread share no lock, only two counters, so a
// process forked while the thread works holds no lock of it; the child has
// no such thread, and its requests are simply not served. The thread ends
// when the process exits normally, after the range it is populating.
class MTTPagePopulator {
public:
    // False when the range is not handed over (no thread could be started
    // or the system cannot populate, or too many requests wait): the
    // caller then populates it itself. One caller at a time.
    static bool Request(char* iPages, size_t iBytes);
    // Makes the range resident on the calling thread, where the system can:
    // one call rather than a fault per page.
    static void PopulateNow(char* iPages, size_t iBytes);
};

#endif
