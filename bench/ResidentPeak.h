#ifndef RESIDENTPEAK_H
#define RESIDENTPEAK_H

// The process's peak resident memory (Linux): everything it holds, the
// block pool's chunks included, which no allocation counter sees.
class ResidentPeak {
public:
    // Starts a new peak from the memory resident now.
    static void Reset();
    // The peak since the last Reset (or since the start), in MB; -1 when
    // the system does not tell.
    static double MegaBytes();
};

#endif
