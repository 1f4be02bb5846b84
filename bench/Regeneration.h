#ifndef REGENERATION_H
#define REGENERATION_H

#include <cstdio>
#include <vector>

// mttgen regenerating files with a user-code section per element of a
// long list, as a process of its own: one file per element (--each), or
// one file holding every section. The first run (every file new), a run
// that changes nothing after a person wrote into every hundredth section,
// and a run after a model change that rewrites everything while keeping
// that code. Time and peak resident memory, median of the runs. A child's
// peak counts the memory of the process that started it, so this runs
// first, while the benchmark is still small; the figures are printed later.
class Regeneration {
public:
    enum class Layout { kFilePerElement, kOneFile };

    Regeneration(int iElements, Layout iLayout) : _elements(iElements), _layout(iLayout) {}

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
    Layout _layout;
    int _runs = 0;
    bool _ok = false;
    std::vector<Phase> _phases;
};

#endif
