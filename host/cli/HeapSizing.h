#ifndef HEAPSIZING_H
#define HEAPSIZING_H

#include <cstddef>

// Sizes the heap for one run: it grows at once by what the run is expected
// to need, is trimmed only once (Loaded), and serves blocks up to 32 MiB
// (the texts) itself, so memory freed while loading is reused rather than
// mapped and faulted in again. Only address space is taken up front.
// Threads share the one heap.
//
// Large pages are not asked for: where the system compacts memory to give
// them on request, a run stalled for up to 0.7 s in the kernel to save
// 10 ms of page faults.
class HeapSizing {
public:
    // iBytes: how far the heap is expected to grow.
    static void Prepare(size_t iBytes);
    // Once the model is loaded: the pages of what loading freed go back to
    // the system, once. The render's blocks come from the heap's end, so
    // those pages would otherwise stay resident, unused, in the run's peak.
    static void Loaded();
};

#endif
