#include "EndToEndComparison.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include <unistd.h>

#include "ChildProcess.h"

namespace {

const char kPython[] = "/usr/bin/python3";

std::string ReadFile(const std::string& iPath)
{
    std::ifstream in(iPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Side {
    const char* name;
    std::vector<std::string> command;
    std::vector<ChildProcess::Figures> runs;
};

double MedianOf(std::vector<double> iValues)
{
    std::sort(iValues.begin(), iValues.end());
    return iValues.empty() ? 0 : iValues[iValues.size() / 2];
}

}  // namespace

EndToEndComparison::EndToEndComparison(std::string iJson, std::string iExpected)
    : _json(std::move(iJson)), _expected(std::move(iExpected))
{
}

bool EndToEndComparison::Run(std::FILE* iStream, int iRuns)
{
    char folder[] = "/tmp/mtt-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return false;
    const std::string model = std::string(folder) + "/model.json", output = std::string(folder) + "/out.txt";
    std::ofstream(model, std::ios::binary) << _json;

    Side sides[] = {
        {"mttgen", {MTT_BENCH_MTTGEN, "-m", model, MTT_BENCH_TEMPLATE}, {}},
        {"jinja2", {kPython, MTT_BENCH_JINJA2_SCRIPT, model, MTT_BENCH_JINJA2_TEMPLATE, "/dev/stdout"}, {}},
    };
    bool ok = true;
    for (Side& side : sides) {
        ChildProcess::Figures first = ChildProcess::Run(side.command, output);
        if (!first.exitedWithZero || ReadFile(output) != _expected) {
            std::fprintf(iStream, "%s: did not run or wrote other text than the baseline; command:", side.name);
            for (const std::string& word : side.command) std::fprintf(iStream, " %s", word.c_str());
            std::fprintf(iStream, "\n");
            ok = false;
        }
    }
    for (int i = 0; ok && i < iRuns; ++i) {
        for (Side& side : sides) side.runs.push_back(ChildProcess::Run(side.command, output));
    }
    std::remove(model.c_str());
    std::remove(output.c_str());
    rmdir(folder);
    if (!ok) return false;

    std::fprintf(
        iStream,
        "\nEnd to end, one process per run (%zu-byte JSON model, parse, render, write %zu bytes), %d runs each:\n"
        "%-10s %12s %12s %12s\n",
        _json.size(), _expected.size(), iRuns, "program", "median ms", "min ms", "CPU ms");
    double medians[2] = {0, 0};
    int index = 0;
    for (Side& side : sides) {
        std::vector<double> wall, cpu;
        for (const ChildProcess::Figures& run : side.runs) {
            wall.push_back(run.wallSeconds);
            cpu.push_back(run.cpuSeconds);
        }
        medians[index++] = MedianOf(wall);
        std::fprintf(iStream, "%-10s %12.1f %12.1f %12.1f\n", side.name, MedianOf(wall) * 1e3,
                     *std::min_element(wall.begin(), wall.end()) * 1e3, MedianOf(cpu) * 1e3);
    }
    std::fprintf(iStream, "mttgen takes %.2f of Jinja2's time (medians)\n", medians[0] / medians[1]);
    return true;
}
