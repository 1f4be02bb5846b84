#include "SummaryReporter.h"

#include <algorithm>

namespace {

double Median(std::vector<double> iValues)
{
    if (iValues.empty()) return 0;
    std::sort(iValues.begin(), iValues.end());
    size_t middle = iValues.size() / 2;
    return iValues.size() % 2 == 1 ? iValues[middle] : (iValues[middle - 1] + iValues[middle]) / 2;
}

double Min(const std::vector<double>& iValues)
{
    return iValues.empty() ? 0 : *std::min_element(iValues.begin(), iValues.end());
}

double Counter(const std::map<std::string, double>& iCounters, const char* iName)
{
    auto found = iCounters.find(iName);
    return found == iCounters.end() ? -1 : found->second;
}

// A figure, or "-" for a missing one (negative).
std::string Format(const char* iFormat, double iValue)
{
    if (iValue < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, iFormat, iValue);
    return text;
}

}  // namespace

SummaryReporter::SummaryReporter(bool iColor) : ConsoleReporter(iColor ? OO_ColorTabular : OO_Tabular) {}

void SummaryReporter::ReportRuns(const std::vector<Run>& iRuns)
{
    for (const Run& run : iRuns) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
        std::string name = run.run_name.function_name;
        if (_cases.find(name) == _cases.end()) _order.push_back(name);
        Case& entry = _cases[name];
        entry.seconds.push_back(run.cpu_accumulated_time / static_cast<double>(run.iterations));
        entry.wallSeconds.push_back(run.real_accumulated_time / static_cast<double>(run.iterations));
        for (const auto& counter : run.counters) entry.counters[counter.first] = counter.second.value;
    }
    ConsoleReporter::ReportRuns(iRuns);
}

double SummaryReporter::MedianSeconds(const std::string& iCase) const
{
    auto found = _cases.find(iCase);
    return found == _cases.end() ? 0 : Median(found->second.seconds);
}

void SummaryReporter::PrintSummary(std::FILE* iStream, const std::string& iBaseline) const
{
    auto baseline = _cases.find(iBaseline);
    double baseMedian = baseline == _cases.end() ? 0 : Median(baseline->second.seconds);
    double baseMin = baseline == _cases.end() ? 0 : Min(baseline->second.seconds);

    std::fprintf(iStream,
                 "\nSummary: CPU time per render, median and min of the repetitions; MB/s = 10^6 bytes per second\n"
                 "at the median; x = ratio to %s (median/median, min/min); from one counted render:\n"
                 "allocations, allocated MB, peak live heap MB, the process's peak resident MB (pooled memory\n"
                 "included) and the block pool's MB; B/obj = bytes per output object of a tree render;\n"
                 "wall = median wall-clock time, for reference.\n",
                 iBaseline.c_str());
    std::fprintf(iStream, "%-26s %10s %10s %8s %6s %6s %9s %9s %8s %8s %8s %6s %10s\n", "case", "median ms", "min ms",
                 "MB/s", "x med", "x min", "allocs", "alloc MB", "heap MB", "RSS MB", "pool MB", "B/obj", "wall ms");
    for (const std::string& name : _order) {
        const Case& entry = _cases.at(name);
        double median = Median(entry.seconds);
        double best = Min(entry.seconds);
        double bytes = Counter(entry.counters, "bytes");
        std::fprintf(iStream, "%-26s %10.3f %10.3f %8.1f %6s %6s %9s %9s %8s %8s %8s %6s %10.3f\n", name.c_str(),
                     median * 1e3, best * 1e3, median > 0 && bytes > 0 ? bytes / median / 1e6 : 0,
                     Format("%.2f", baseMedian > 0 ? median / baseMedian : -1).c_str(),
                     Format("%.2f", baseMin > 0 ? best / baseMin : -1).c_str(),
                     Format("%.0f", Counter(entry.counters, "allocs")).c_str(),
                     Format("%.2f", Counter(entry.counters, "alloc_MB")).c_str(),
                     Format("%.2f", Counter(entry.counters, "heap_MB")).c_str(),
                     Format("%.1f", Counter(entry.counters, "rss_MB")).c_str(),
                     Format("%.1f", Counter(entry.counters, "pool_MB")).c_str(),
                     Format("%.1f", Counter(entry.counters, "B/obj")).c_str(), Median(entry.wallSeconds) * 1e3);
    }
}
