#ifndef CPUCLOCK_H
#define CPUCLOCK_H

// CPU time of the calling thread, in seconds. The machines this runs on are
// shared, so wall time mostly measures the neighbours; CPU time is the
// figure the summary and the ratios use.
class CpuClock {
public:
    static double Now();
};

#endif
