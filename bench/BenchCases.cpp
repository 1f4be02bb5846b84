#include "BenchCases.h"

#include <algorithm>
#include <functional>
#include <vector>

#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "BenchWorkload.h"
#include "CpuClock.h"
#include "MTTBlockPool.h"
#include "ResidentPeak.h"

namespace {

constexpr int kRepetitions = 5;

double MinOf(const std::vector<double>& iValues)
{
    return iValues.empty() ? 0 : *std::min_element(iValues.begin(), iValues.end());
}

void Run(benchmark::State& ioState, BenchWorkload& ioWorkload, size_t (BenchWorkload::*iRender)(),
         MTLIModelObject* (BenchWorkload::*iTreeModel)())
{
    size_t bytes = 0;
    double begin = CpuClock::Now();
    for (auto _ : ioState) {
        bytes = (ioWorkload.*iRender)();
        benchmark::DoNotOptimize(bytes);
    }
    double seconds = CpuClock::Now() - begin;
    if (bytes == 0) {
        ioState.SkipWithError("the render produced nothing");
        return;
    }
    double iterations = static_cast<double>(ioState.iterations());
    ioState.SetBytesProcessed(static_cast<int64_t>(ioState.iterations()) * static_cast<int64_t>(bytes));

    ResidentPeak::Reset();
    AllocationCounter::Start();
    (ioWorkload.*iRender)();
    AllocationCounter::Stop();
    AllocationCounter::Figures figures = AllocationCounter::Current();

    ioState.counters["bytes"] = static_cast<double>(bytes);
    ioState.counters["x_base"] = seconds / iterations / ioWorkload.BaselineSeconds();
    ioState.counters["rss_MB"] = ResidentPeak::MegaBytes();
    ioState.counters["pool_MB"] = static_cast<double>(MTTBlockPool::HeldBytes()) / 1e6;
    if (AllocationCounter::Enabled()) {
        ioState.counters["allocs"] = static_cast<double>(figures.allocations);
        ioState.counters["alloc_MB"] = static_cast<double>(figures.allocatedBytes) / 1e6;
        ioState.counters["heap_MB"] = static_cast<double>(figures.peakBytes) / 1e6;
        if (iTreeModel != nullptr) {
            size_t objects = 0;
            ioState.counters["B/obj"] = ioWorkload.TreeBytesPerObject((ioWorkload.*iTreeModel)(), objects);
            ioState.counters["objects"] = static_cast<double>(objects);
        }
    }
}

void Add(BenchWorkload& ioWorkload, const char* iName, size_t (BenchWorkload::*iRender)(),
         MTLIModelObject* (BenchWorkload::*iTreeModel)(), benchmark::TimeUnit iUnit)
{
    BenchWorkload* workload = &ioWorkload;
    benchmark::RegisterBenchmark(iName,
                                 [=](benchmark::State& ioState) { Run(ioState, *workload, iRender, iTreeModel); })
        ->Unit(iUnit)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(false)
        ->ComputeStatistics("min", MinOf);
}

}  // namespace

void BenchCases::Register(BenchWorkload& ioWorkload)
{
    using W = BenchWorkload;
    Add(ioWorkload, "a_baseline_std_string", &W::RenderBaseline, nullptr, benchmark::kMillisecond);
    Add(ioWorkload, "b_tree_lean", &W::RenderLean, &W::LeanRoot, benchmark::kMillisecond);
    Add(ioWorkload, "b_text_lean", &W::RenderLeanText, nullptr, benchmark::kMillisecond);
    Add(ioWorkload, "b_text_shape_lean", &W::RenderLeanShape, nullptr, benchmark::kMillisecond);
    Add(ioWorkload, "c_tree_json", &W::RenderJson, &W::JsonRoot, benchmark::kMillisecond);
    Add(ioWorkload, "c_text_json", &W::RenderJsonText, nullptr, benchmark::kMillisecond);
    Add(ioWorkload, "d_late_once", &W::RenderLate, nullptr, benchmark::kMicrosecond);
    Add(ioWorkload, "d_late_repeated", &W::RenderLateRepeated, nullptr, benchmark::kMillisecond);
    Add(ioWorkload, "e_parse_once", &W::ParseTemplate, nullptr, benchmark::kMicrosecond);
    Add(ioWorkload, "e_parse_repeated", &W::ParseTemplateRepeated, nullptr, benchmark::kMillisecond);
    Add(ioWorkload, "f_json_load", &W::LoadJson, nullptr, benchmark::kMillisecond);
    Add(ioWorkload, "g_append_25000", &W::RenderAppends, nullptr, benchmark::kMillisecond);
    Add(ioWorkload, "g_or_equals_25000", &W::RenderOrEquals, nullptr, benchmark::kMillisecond);
    Add(ioWorkload, "g_call_of_10000_functions", &W::RenderCalls, nullptr, benchmark::kMillisecond);
}
