// The benchmark binary: the reference workload rendered by hand, by the
// library against two models, late-evaluated and parsed, then a summary.
//
// Own options (the Google Benchmark ones work as usual):
//   --classes=N    classes in the generated model (default 20000)
//   --profile=N    no benchmark run: N lean immediate renders, for a profiler
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "BenchCases.h"
#include "BenchWorkload.h"
#include "SummaryReporter.h"

namespace {

// Takes "--NAME=value" out of argv; false when it is not there.
bool TakeOption(int& ioArgc, char** ioArgv, const char* iName, int& oValue)
{
    std::string prefix = std::string("--") + iName + "=";
    for (int i = 1; i < ioArgc; ++i) {
        if (std::strncmp(ioArgv[i], prefix.c_str(), prefix.size()) != 0) continue;
        oValue = std::atoi(ioArgv[i] + prefix.size());
        for (int j = i; j + 1 < ioArgc; ++j) ioArgv[j] = ioArgv[j + 1];
        --ioArgc;
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    int classes = 20000;
    int profileRenders = 0;
    TakeOption(argc, argv, "classes", classes);
    TakeOption(argc, argv, "profile", profileRenders);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (classes < 1) {
        std::fprintf(stderr, "mtt_bench: --classes needs a positive number\n");
        return 1;
    }

    bool counting = AllocationCounter::Enabled();  // probes once, before anything is counted
    BenchWorkload workload(classes, MTT_BENCH_TEMPLATE);
    if (!workload.Prepare()) {
        std::fprintf(stderr, "mtt_bench: aborted: the renders do not agree or the workload could not be built\n");
        return 1;
    }
    std::printf("Workload: %d classes x 10 attributes; output %zu bytes, JSON %zu bytes, template %zu bytes\n"
                "Checked: baseline, lean-model, JSON-model and parsed-template renders give identical text\n"
                "Repeated forms: late evaluation of %d template copies, parsing of %d template copies\n"
                "Baseline best of 15 renders: %.3f ms CPU time\n\n",
                classes, workload.OutputBytes(), workload.JsonBytes(), workload.TemplateBytes(),
                workload.LateCopies(), workload.ParseCopies(), workload.BaselineSeconds() * 1e3);
    if (!counting) {
        std::printf("Allocation counting is off here (sanitizer build or valgrind): no allocation counters\n\n");
    }
    std::fflush(stdout);

    if (profileRenders > 0) {
        size_t bytes = 0;
        for (int i = 0; i < profileRenders; ++i) bytes += workload.RenderLean();
        std::printf("profile: %d lean renders, %zu bytes\n", profileRenders, bytes);
        return 0;
    }

    BenchCases::Register(workload);
    SummaryReporter reporter(isatty(STDOUT_FILENO) != 0);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::fflush(stdout);
    reporter.PrintSummary(stdout, "a_baseline_std_string");
    benchmark::Shutdown();
    return 0;
}
