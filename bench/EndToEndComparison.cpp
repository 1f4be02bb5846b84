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
const char kTime[] = "/usr/bin/time";

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
    double peakMegaBytes;
};

double MedianOf(std::vector<double> iValues)
{
    std::sort(iValues.begin(), iValues.end());
    return iValues.empty() ? 0 : iValues[iValues.size() / 2];
}

// The peak resident memory of one run of iCommand in MB, measured by
// /usr/bin/time; -1 when it is not installed or the run failed.
double PeakMegaBytes(const std::vector<std::string>& iCommand, const std::string& iOutput, const std::string& iFolder)
{
    if (access(kTime, X_OK) != 0) return -1;
    const std::string report = iFolder + "/peak.txt";
    std::vector<std::string> command = {kTime, "-f", "%M", "-o", report};
    command.insert(command.end(), iCommand.begin(), iCommand.end());
    const ChildProcess::Figures figures = ChildProcess::Run(command, iOutput);
    const std::string kiloBytes = ReadFile(report);
    std::remove(report.c_str());
    if (!figures.exitedWithZero || kiloBytes.empty()) return -1;
    return std::atof(kiloBytes.c_str()) * 1024 / 1e6;
}

}  // namespace

EndToEndComparison::EndToEndComparison(std::string iJson, std::string iYaml, std::string iExpected)
    : _json(std::move(iJson)), _yaml(std::move(iYaml)), _expected(std::move(iExpected))
{
}

bool EndToEndComparison::Run(std::FILE* iStream, int iRuns)
{
    char folder[] = "/tmp/mtt-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return false;
    const std::string model = std::string(folder) + "/model.json", output = std::string(folder) + "/out.txt";
    const std::string yaml = std::string(folder) + "/model.yaml";
    std::ofstream(model, std::ios::binary) << _json;
    std::ofstream(yaml, std::ios::binary) << _yaml;

    Side sides[] = {
        {"mttgen", {MTT_BENCH_MTTGEN, "-m", model, MTT_BENCH_TEMPLATE}, {}, -1},
        {"mttgen-yaml", {MTT_BENCH_MTTGEN, "-m", yaml, MTT_BENCH_TEMPLATE}, {}, -1},
        {"jinja2", {kPython, MTT_BENCH_JINJA2_SCRIPT, model, MTT_BENCH_JINJA2_TEMPLATE, "/dev/stdout"}, {}, -1},
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
    for (Side& side : sides) {
        if (ok) side.peakMegaBytes = PeakMegaBytes(side.command, output, folder);
    }
    std::remove(model.c_str());
    std::remove(yaml.c_str());
    std::remove(output.c_str());
    rmdir(folder);
    if (!ok) return false;

    std::fprintf(
        iStream,
        "\nEnd to end, one process per run (%zu-byte JSON model, %zu bytes as YAML, parse, render, write %zu bytes), "
        "%d runs each:\n"
        "%-12s %12s %12s %12s %12s\n",
        _json.size(), _yaml.size(), _expected.size(), iRuns, "program", "median ms", "min ms", "CPU ms", "peak MB");
    double medians[3] = {0, 0, 0};
    int index = 0;
    for (Side& side : sides) {
        std::vector<double> wall, cpu;
        for (const ChildProcess::Figures& run : side.runs) {
            wall.push_back(run.wallSeconds);
            cpu.push_back(run.cpuSeconds);
        }
        medians[index++] = MedianOf(wall);
        char peak[32] = "n/a";
        if (side.peakMegaBytes >= 0) std::snprintf(peak, sizeof peak, "%.1f", side.peakMegaBytes);
        std::fprintf(iStream, "%-12s %12.1f %12.1f %12.1f %12s\n", side.name, MedianOf(wall) * 1e3,
                     *std::min_element(wall.begin(), wall.end()) * 1e3, MedianOf(cpu) * 1e3, peak);
    }
    _figures.mttgenMs = medians[0] * 1e3;
    _figures.yamlMs = medians[1] * 1e3;
    _figures.jinja2Ms = medians[2] * 1e3;
    _figures.mttgenPeakMB = sides[0].peakMegaBytes;
    _figures.yamlPeakMB = sides[1].peakMegaBytes;
    _figures.modelMB = static_cast<double>(_json.size()) / 1e6;
    _figures.yamlModelMB = static_cast<double>(_yaml.size()) / 1e6;
    std::fprintf(iStream, "mttgen takes %.2f of Jinja2's time (medians): %.1f times as fast\n", medians[0] / medians[2],
                 medians[2] / medians[0]);
    if (sides[0].peakMegaBytes >= 0) {
        std::fprintf(iStream, "mttgen's peak memory is %.1f times the model's size\n",
                     sides[0].peakMegaBytes * 1e6 / static_cast<double>(_json.size()));
    } else {
        std::fprintf(iStream, "peak memory: install Debian's package time for /usr/bin/time\n");
    }
    return true;
}
