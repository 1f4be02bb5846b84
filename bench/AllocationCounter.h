#ifndef ALLOCATIONCOUNTER_H
#define ALLOCATIONCOUNTER_H

#include <cstddef>
#include <cstdint>

// Counts the heap traffic of a stretch of code. The benchmark binary
// replaces malloc, calloc, realloc, free, the aligned allocators and the
// global operator new/delete (AllocationCounter.cpp), so allocations made
// inside the libraries are seen too. Counting is off unless a stretch is
// open, and a closed counter costs one predictable branch per call, so the
// timed loops are measured with counting off and the counts come from a
// separate render.
//
// Sizes are what the allocator really holds for a block
// (malloc_usable_size), not what was asked for: a 20-byte request costs 24.
// Not thread-safe: the benchmark runs everything on one thread.
class AllocationCounter {
public:
    struct Figures {
        std::uint64_t allocations = 0;     // malloc, calloc, realloc, new, aligned forms
        std::uint64_t allocatedBytes = 0;  // usable bytes of those blocks
        std::uint64_t frees = 0;
        std::int64_t liveBytes = 0;  // allocated minus freed since Start
        std::int64_t peakBytes = 0;  // highest liveBytes since Start
    };

    // Whether the counts mean anything: the replacement allocator is compiled
    // in (not with sanitizers) and is really called (not under valgrind).
    static bool Enabled();
    // Resets the figures and starts counting.
    static void Start();
    // Stops counting; the figures stay readable.
    static void Stop();
    static Figures Current();
};

#endif
