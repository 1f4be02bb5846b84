#ifndef EACHREGENERATION_H
#define EACHREGENERATION_H

#include <cstdio>
#include <vector>

// mttgen --each over a list of many elements, one file each with a
// user-code section, as a process of its own: the first run (every file
// new), a run that changes nothing, and a run after a model change that
// rewrites every file while keeping the code written into some of them.
// Time and peak resident memory, median of the runs. A child's peak
// counts the memory of the process that started it, so this runs first,
// while the benchmark is still small; the figures are printed later.
class EachRegeneration {
public:
    explicit EachRegeneration(int iElements) : _elements(iElements) {}

    // False when a run failed or a file is not what it should be.
    bool Measure(int iRuns);
    void Print(std::FILE* iStream) const;

private:
    struct Phase {
        const char* name;
        std::vector<double> wall;
        std::vector<double> peak;
    };

    int _elements;
    int _runs = 0;
    bool _ok = false;
    std::vector<Phase> _phases;
};

#endif
