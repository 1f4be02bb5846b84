#ifndef COLDRENDER_H
#define COLDRENDER_H

#include <cstdio>
#include <map>
#include <string>

// The first render of a process against the renders that follow it, per
// path (the baseline, the tree path, the text path). mttgen renders once
// per run, so the first render is what its users wait for. Each run is a
// fresh process (mtt_bench_cold) that builds the workload untimed, renders
// once, then several more times; the table gives the medians over the runs
// of the first render's CPU time and page faults and of the warm renders'
// median, and their ratio.
class ColdRender {
public:
    // Renders after the first in each process, whose median is the warm figure.
    static const int kWarmRenders = 7;

    explicit ColdRender(int iClassCount);

    // False when a run failed or the paths wrote texts of other lengths.
    bool Run(std::FILE* iStream, int iRuns);
    // The first render's median over the warm one's, by path ("tree",
    // "text"); 0 before a Run succeeds.
    double Ratio(const std::string& iPath) const;

private:
    int _classCount;
    std::map<std::string, double> _ratios;
};

#endif
