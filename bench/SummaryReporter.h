#ifndef SUMMARYREPORTER_H
#define SUMMARYREPORTER_H

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

// The console reporter, which also keeps every repetition's time and
// counters so that a short table can follow the run: median and min CPU time,
// MB/s at the median, both ratios to the baseline case, and the counters
// of the counted render.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    // Colours only for a terminal: the console reporter given to
    // RunSpecifiedBenchmarks does not read --benchmark_color.
    explicit SummaryReporter(bool iColor);

    void ReportRuns(const std::vector<Run>& iRuns) override;
    // iBaseline: the name of the case that the ratios divide by.
    void PrintSummary(std::FILE* iStream, const std::string& iBaseline) const;
    // The median CPU seconds per render of a case; 0 when it did not run.
    double MedianSeconds(const std::string& iCase) const;

private:
    struct Case {
        std::vector<double> seconds;      // CPU time per render, one per repetition
        std::vector<double> wallSeconds;  // wall-clock time per render
        std::map<std::string, double> counters;
    };

    std::vector<std::string> _order;
    std::map<std::string, Case> _cases;
};

#endif
