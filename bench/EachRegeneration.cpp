#include "EachRegeneration.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace {

std::string ReadFile(const std::string& iPath)
{
    std::ifstream in(iPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Model(int iElements, const std::string& iType)
{
    std::string json = "{\"classes\": [";
    for (int i = 0; i < iElements; ++i) {
        json += (i == 0 ? "" : ",\n") + std::string("{\"name\": \"Class") + std::to_string(i) +
                "\", \"attributes\": [{\"name\": \"id\", \"type\": \"" + iType +
                "\"}, {\"name\": \"label\", \"type\": \"std::string\"}]}";
    }
    return json + "]}\n";
}

double Median(std::vector<double> iValues)
{
    std::sort(iValues.begin(), iValues.end());
    return iValues[iValues.size() / 2];
}

}  // namespace

bool EachRegeneration::Measure(int iRuns)
{
    _runs = iRuns;
    char folder[] = "/tmp/mtt-bench-each-XXXXXX";
    if (mkdtemp(folder) == nullptr) return false;
    const std::string dir = folder;
    std::ofstream(dir + "/class.mtt") << "// ${name}\nclass ${name} {\n[% foreach attributes %]\n    ${type} ${name};\n"
                                         "[% end %]\n[% usercode %]\n};\n";
    std::ofstream(dir + "/int.json") << Model(_elements, "int");
    std::ofstream(dir + "/long.json") << Model(_elements, "long");
    auto command = [&](const char* iModel) {
        return std::vector<std::string>{MTT_BENCH_MTTGEN, "-m", dir + "/" + iModel,     "--each",
                                        "classes",        "-o", dir + "/gen/${name}.h", dir + "/class.mtt"};
    };
    _phases = {{"first run (every file new)", {}, {}},
               {"again, nothing changed", {}, {}},
               {"model changed, all rewritten", {}, {}}};
    std::vector<Phase>& phases = _phases;
    bool ok = true;
    for (int run = 0; ok && run < iRuns; ++run) {
        std::filesystem::remove_all(dir + "/gen");
        const ChildProcess::Figures first = ChildProcess::Run(command("int.json"), "/dev/null");
        // A person writes into every hundredth file.
        for (int i = 0; i < _elements; i += 100) {
            const std::string path = dir + "/gen/Class" + std::to_string(i) + ".h";
            std::string text = ReadFile(path);
            const size_t end = text.find("// End of User Code");
            if (end == std::string::npos) break;
            std::ofstream(path, std::ios::binary) << text.insert(end, "    int mine;\n");
        }
        const ChildProcess::Figures again = ChildProcess::Run(command("int.json"), "/dev/null");
        const ChildProcess::Figures changed = ChildProcess::Run(command("long.json"), "/dev/null");
        const std::string last = ReadFile(dir + "/gen/Class" + std::to_string((_elements - 1) / 100 * 100) + ".h");
        ok = first.exitedWithZero && again.exitedWithZero && changed.exitedWithZero &&
             last.find("long id;") != std::string::npos && last.find("int mine;") != std::string::npos;
        const ChildProcess::Figures* figures[] = {&first, &again, &changed};
        for (int p = 0; p < 3; ++p) {
            phases[p].wall.push_back(figures[p]->wallSeconds);
            phases[p].peak.push_back(figures[p]->peakMegaBytes);
        }
    }
    std::filesystem::remove_all(dir);
    _ok = ok;
    return ok;
}

void EachRegeneration::Print(std::FILE* iStream) const
{
    if (!_ok) {
        std::fprintf(iStream, "\nmttgen --each: a run failed or lost user code\n");
        return;
    }
    std::fprintf(iStream,
                 "\nmttgen --each over %d elements, one file each with a user-code section, %d runs each:\n"
                 "%-32s %12s %12s\n",
                 _elements, _runs, "run", "median ms", "peak MB");
    for (const Phase& phase : _phases) {
        std::fprintf(iStream, "%-32s %12.1f %12.1f\n", phase.name, Median(phase.wall) * 1e3, Median(phase.peak));
    }
}
