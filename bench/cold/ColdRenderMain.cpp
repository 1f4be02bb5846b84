// mtt_bench_cold: one path of the reference workload rendered in a fresh
// process, as mttgen renders once per run. Everything the render needs
// (dataset, model, tree) is built first and not timed; then the first
// render is timed, then ColdRender::kWarmRenders more in the same process. The
// allocator is left as a process finds it (no mallopt), as in mttgen.
//
//   mtt_bench_cold baseline|tree|text CLASSES
//
// prints one line: bytes, then CPU ms, wall ms and page faults of the first
// render, then the medians of the same over the warm renders.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "BaselineRenderer.h"
#include "BenchDataset.h"
#include "ColdRender.h"
#include "CpuClock.h"
#include "LeanModel.h"
#include "MTTEvaluateText.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "MTTString.h"
#include "ReferenceTemplate.h"

namespace {

long PageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

struct Figures {
    size_t bytes = 0;
    double cpuMs = 0;
    double wallMs = 0;
    double faults = 0;
};

double Median(std::vector<double> iValues)
{
    std::sort(iValues.begin(), iValues.end());
    return iValues[iValues.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mtt_bench_cold baseline|tree|text CLASSES\n");
        return 2;
    }
    const std::string path = argv[1];
    const int classes = std::atoi(argv[2]);
    if ((path != "baseline" && path != "tree" && path != "text") || classes < 1) {
        std::fprintf(stderr, "mtt_bench_cold: unknown path or class count\n");
        return 2;
    }
    const BenchDataset dataset = BenchDataset::Generate(classes, 10, 20240607u);
    LeanModel model(dataset);
    std::unique_ptr<MTTIStatement> tree(ReferenceTemplate::Build());

    auto render = [&]() -> size_t {
        if (path == "baseline") return BaselineRenderer::Render(dataset).size();
        MTTEvaluationEnvironment environment(model.Root());
        MTTString text;
        if (path == "text") return MTTEvaluateText(tree.get(), &environment, text) == S_OK ? text.Length() : 0;
        std::unique_ptr<MTTEvaluationOutput> output(tree->Evaluate(&environment));
        if (!output) return 0;
        output->toString(text);
        return text.Length();
    };
    auto measure = [&]() {
        Figures figures;
        const long faults = PageFaults();
        const auto wall = std::chrono::steady_clock::now();
        const double cpu = CpuClock::Now();
        figures.bytes = render();
        figures.cpuMs = (CpuClock::Now() - cpu) * 1e3;
        figures.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count();
        figures.faults = static_cast<double>(PageFaults() - faults);
        return figures;
    };

    const Figures first = measure();
    std::vector<double> cpu, wall, faults;
    for (int i = 0; i < ColdRender::kWarmRenders; ++i) {
        const Figures warm = measure();
        if (warm.bytes != first.bytes) return 1;
        cpu.push_back(warm.cpuMs);
        wall.push_back(warm.wallMs);
        faults.push_back(warm.faults);
    }
    if (first.bytes == 0) return 1;
    std::printf("%zu %.3f %.3f %.0f %.3f %.3f %.0f\n", first.bytes, first.cpuMs, first.wallMs, first.faults,
                Median(cpu), Median(wall), Median(faults));
    return 0;
}
