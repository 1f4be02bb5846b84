#ifndef BENCHCASES_H
#define BENCHCASES_H

class BenchWorkload;

// Registers the cases with Google Benchmark. Each case times its render in
// the benchmark loop with allocation counting off, then renders once more
// with counting on for the counters: bytes (produced or consumed per
// render), allocs and alloc_MB per render, peak_MB (live bytes at the peak
// of that render), x_base (this repetition's mean CPU time over the
// baseline's best CPU time) and, for the immediate renders, B/leaf and leaves.
class BenchCases {
public:
    static void Register(BenchWorkload& ioWorkload);
};

#endif
