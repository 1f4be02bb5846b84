// The benchmark binary: the reference workload rendered by hand, by the
// library (tree and text paths) against two models, late-evaluated and
// parsed; the variable and function templates; then a summary, the
// parser's memory per directive on a 30 MB template, mttgen against
// Jinja2 end to end, mttgen regenerating files with a user-code section
// per class (--each writing ten thousand files, and one file of all the
// classes), the explain page at 20,000 and 100,000 classes and the first
// render of a process.
//
// Own options (the Google Benchmark ones work as usual):
//   --classes=N       classes in the generated model (default 20000)
//   --end-to-end=N    runs of each program end to end (default 5; 0: none)
//   --each=N          elements of the mttgen --each run (default 10000)
//   --cold=N          fresh processes for the first-render figures (default 5; 0: none)
//   --profile=N, --profile-text=N, --profile-json-text=N
//                     no benchmark run: N lean renders of the tree path,
//                     then N of the text path, then N of the text path
//                     over the JSON model, for a profiler
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <malloc.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "BenchCases.h"
#include "BenchWorkload.h"
#include "ColdRender.h"
#include "CpuClock.h"
#include "Regeneration.h"
#include "EndToEndComparison.h"
#include "ExplainPageBench.h"
#include "MTTBlockPool.h"
#include "ModelLoading.h"
#include "ParserMemory.h"
#include "TargetTable.h"
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
    int profileTextRenders = 0;
    int profileJsonTextRenders = 0;
    int endToEndRuns = 5;
    int eachElements = 10000;
    int coldRuns = 5;
    TakeOption(argc, argv, "classes", classes);
    TakeOption(argc, argv, "end-to-end", endToEndRuns);
    TakeOption(argc, argv, "each", eachElements);
    TakeOption(argc, argv, "cold", coldRuns);
    TakeOption(argc, argv, "profile", profileRenders);
    TakeOption(argc, argv, "profile-text", profileTextRenders);
    TakeOption(argc, argv, "profile-json-text", profileJsonTextRenders);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (classes < 1) {
        std::fprintf(stderr, "mtt_bench: --classes needs a positive number\n");
        return 1;
    }

    // The system allocator keeps what is freed in its heap, rather than
    // handing large blocks back and taking them afresh with every render:
    // otherwise whether a render (the baseline's included) pays for fresh
    // pages depends on what ran before it.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    bool counting = AllocationCounter::Enabled();  // probes once, before anything is counted
    Regeneration each(eachElements, Regeneration::Layout::kFilePerElement);
    Regeneration oneFile(classes, Regeneration::Layout::kOneFile);
    const bool eachOk = endToEndRuns <= 0 || (each.Measure(endToEndRuns) && oneFile.Measure(endToEndRuns));
    ExplainPageBench explainPage("20000,100000");
    if (endToEndRuns > 0) explainPage.Measure(endToEndRuns);
    BenchWorkload workload(classes, MTT_BENCH_TEMPLATE);
    if (!workload.Prepare()) {
        std::fprintf(stderr, "mtt_bench: aborted: the renders do not agree or the workload could not be built\n");
        return 1;
    }
    std::printf(
        "Workload: %d classes x 10 attributes; output %zu bytes, JSON %zu bytes, template %zu bytes\n"
        "Checked: baseline, lean-model, JSON-model and parsed-template renders give identical text\n"
        "Repeated forms: late evaluation of %d template copies, parsing of %d template copies\n"
        "Variables and functions: %d elements, each adding 40 characters to a variable (+= or |=)\n"
        "  or calling the last of %d functions\n"
        "Block pool: %s\n"
        "Baseline best of 15 renders: %.3f ms CPU time\n\n",
        classes, workload.OutputBytes(), workload.JsonBytes(), workload.TemplateBytes(), workload.LateCopies(),
        workload.ParseCopies(), workload.LoopItems(), workload.Functions(),
        MTTBlockPool::Pooling() ? "on" : "off (MTT_POOL, or the address sanitizer)", workload.BaselineSeconds() * 1e3);
    if (!counting) {
        std::printf("Allocation counting is off here (sanitizer build or valgrind): no allocation counters\n\n");
    }
    std::fflush(stdout);

    if (profileRenders > 0 || profileTextRenders > 0 || profileJsonTextRenders > 0) {
        size_t bytes = 0;
        std::vector<double> tree, text, jsonText;
        for (int i = 0; i < profileRenders; ++i) {
            double begin = CpuClock::Now();
            bytes += workload.RenderLean();
            tree.push_back(CpuClock::Now() - begin);
        }
        for (int i = 0; i < profileTextRenders; ++i) {
            double begin = CpuClock::Now();
            bytes += workload.RenderLeanText();
            text.push_back(CpuClock::Now() - begin);
        }
        for (int i = 0; i < profileJsonTextRenders; ++i) {
            double begin = CpuClock::Now();
            bytes += workload.RenderJsonText();
            jsonText.push_back(CpuClock::Now() - begin);
        }
        std::sort(tree.begin(), tree.end());
        std::sort(text.begin(), text.end());
        std::sort(jsonText.begin(), jsonText.end());
        if (!tree.empty())
            std::printf("tree: min %.2f ms median %.2f ms\n", tree[0] * 1e3, tree[tree.size() / 2] * 1e3);
        if (!text.empty())
            std::printf("text: min %.2f ms median %.2f ms\n", text[0] * 1e3, text[text.size() / 2] * 1e3);
        if (!jsonText.empty()) {
            std::printf("JSON text: min %.2f ms median %.2f ms\n", jsonText[0] * 1e3,
                        jsonText[jsonText.size() / 2] * 1e3);
        }
        std::printf("profile: %d lean renders, %zu bytes\n", profileRenders, bytes);
        return 0;
    }

    BenchCases::Register(workload);
    ModelLoading::Register(workload.Json());
    SummaryReporter reporter(isatty(STDOUT_FILENO) != 0);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::fflush(stdout);
    reporter.PrintSummary(stdout, "a_baseline_std_string");
    benchmark::Shutdown();
    TargetTable targets;
    targets.AddEngine(reporter);
    bool endToEnd = ParserMemory::Report(stdout, workload.TemplateText(), 30000000);
    EndToEndComparison comparison(workload.Json(), workload.Yaml(), workload.BaselineText());
    if (endToEndRuns > 0) {
        endToEnd = comparison.Run(stdout, endToEndRuns) && endToEnd;
        each.Print(stdout);
        oneFile.Print(stdout);
        explainPage.Print(stdout);
        endToEnd = eachOk && endToEnd;
    }
    ColdRender cold(classes);
    const bool coldOk = coldRuns <= 0 || cold.Run(stdout, coldRuns);
    targets.AddCold(cold);
    targets.AddEndToEnd(comparison.Result());
    targets.AddExplain(explainPage.Sizes());
    targets.Print(stdout);
    return endToEnd && coldOk ? 0 : 1;
}
