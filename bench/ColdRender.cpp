#include "ColdRender.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "ChildProcess.h"

namespace {

struct Side {
    explicit Side(const char* iPath) : path(iPath) {}

    const char* path;
    std::vector<double> firstCpu, firstFaults, warmCpu, warmFaults;
    double bytes = 0;
};

double MedianOf(std::vector<double> iValues)
{
    std::sort(iValues.begin(), iValues.end());
    return iValues.empty() ? 0 : iValues[iValues.size() / 2];
}

}  // namespace

ColdRender::ColdRender(int iClassCount) : _classCount(iClassCount) {}

double ColdRender::Ratio(const std::string& iPath) const
{
    auto found = _ratios.find(iPath);
    return found == _ratios.end() ? 0 : found->second;
}

bool ColdRender::Run(std::FILE* iStream, int iRuns)
{
    char folder[] = "/tmp/mtt-cold-XXXXXX";
    if (mkdtemp(folder) == nullptr) return false;
    const std::string output = std::string(folder) + "/figures.txt";
    Side sides[] = {Side("baseline"), Side("tree"), Side("text")};
    bool ok = true;
    // Alternating, so that the machine's load falls on all three alike.
    for (int run = 0; ok && run < iRuns; ++run) {
        for (Side& side : sides) {
            ChildProcess::Figures process =
                ChildProcess::Run({MTT_BENCH_COLD, side.path, std::to_string(_classCount)}, output);
            std::ifstream in(output);
            double bytes = 0, values[6] = {};
            in >> bytes;
            for (double& value : values) in >> value;
            if (!process.exitedWithZero || !in || (side.bytes != 0 && bytes != side.bytes)) {
                std::fprintf(iStream, "cold render: %s: %s did not run, or wrote another length\n", side.path,
                             MTT_BENCH_COLD);
                ok = false;
                break;
            }
            side.bytes = bytes;
            side.firstCpu.push_back(values[0]);
            side.firstFaults.push_back(values[2]);
            side.warmCpu.push_back(values[3]);
            side.warmFaults.push_back(values[5]);
        }
    }
    std::remove(output.c_str());
    rmdir(folder);
    if (!ok) return false;
    if (sides[1].bytes != sides[0].bytes || sides[2].bytes != sides[0].bytes) {
        std::fprintf(iStream, "cold render: the paths wrote texts of other lengths than the baseline\n");
        return false;
    }

    std::fprintf(iStream,
                 "\nCold render: the first render of a fresh process (as mttgen renders) against the median of\n"
                 "the %d renders after it in the same process; CPU ms, medians of %d processes each, and the\n"
                 "first render's fastest and slowest (on a virtual machine, memory the host must back afresh\n"
                 "can make some first renders slow whatever the process does):\n"
                 "%-10s %10s %10s %10s %10s %8s %12s %12s\n",
                 kWarmRenders, iRuns, "path", "first ms", "fastest", "slowest", "warm ms", "x warm", "first faults",
                 "warm faults");
    for (const Side& side : sides) {
        const double first = MedianOf(side.firstCpu), warm = MedianOf(side.warmCpu);
        _ratios[side.path] = warm > 0 ? first / warm : 0;
        std::fprintf(iStream, "%-10s %10.3f %10.3f %10.3f %10.3f %8.2f %12.0f %12.0f\n", side.path, first,
                     *std::min_element(side.firstCpu.begin(), side.firstCpu.end()),
                     *std::max_element(side.firstCpu.begin(), side.firstCpu.end()), warm, warm > 0 ? first / warm : 0,
                     MedianOf(side.firstFaults), MedianOf(side.warmFaults));
    }
    return true;
}
