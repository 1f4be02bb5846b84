#ifndef BENCHCASES_H
#define BENCHCASES_H

class BenchWorkload;

// Registers the cases with Google Benchmark. Each case times its render in
// the benchmark loop with allocation counting off, then renders once more
// with counting on for the counters: bytes (produced or consumed per
// render), allocs and alloc_MB per render, heap_MB (live heap bytes at the
// peak of that render), rss_MB (the process's peak resident memory during
// it, pooled memory included), pool_MB (what the block pool holds after
// it), x_base (this repetition's mean CPU time over the baseline's best
// CPU time) and, for the tree renders, B/obj and objects.
class BenchCases {
public:
    static void Register(BenchWorkload& ioWorkload);
};

#endif
