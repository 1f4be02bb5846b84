#include "Regeneration.h"

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

// Where a person writes: before the end marker of every hundredth section.
bool WriteIntoSections(const std::string& iPath, int iFrom, int iEvery)
{
    std::string text = ReadFile(iPath);
    int section = 0;
    bool wrote = false;
    for (size_t end = text.find("// End of User Code"); end != std::string::npos;
         end = text.find("// End of User Code", end + 1), ++section) {
        if (section < iFrom || (section - iFrom) % iEvery != 0) continue;
        const std::string mine = "    int mine;\n";
        text.insert(end, mine);
        end += mine.size();
        wrote = true;
    }
    if (wrote) std::ofstream(iPath, std::ios::binary) << text;
    return wrote;
}

}  // namespace

bool Regeneration::Measure(int iRuns)
{
    _runs = iRuns;
    char folder[] = "/tmp/mtt-bench-regen-XXXXXX";
    if (mkdtemp(folder) == nullptr) return false;
    const std::string dir = folder;
    const bool each = _layout == Layout::kFilePerElement;
    const std::string body =
        "// ${name}\nclass ${name} {\n[% foreach attributes %]\n    ${type} ${name};\n[% end %]\n[% usercode %]\n};\n";
    std::ofstream(dir + "/class.mtt") << (each ? body : "[% foreach classes %]\n" + body + "[% end %]\n");
    std::ofstream(dir + "/int.json") << Model(_elements, "int");
    std::ofstream(dir + "/long.json") << Model(_elements, "long");
    // Each run writes into a folder of its own, kept to the end: files
    // made where thousands were just deleted take the file system several
    // times longer to create, which is not what a first run meets.
    std::string gen;
    auto command = [&](const char* iModel) {
        std::vector<std::string> words{MTT_BENCH_MTTGEN, "-m", dir + "/" + iModel};
        if (each) words.insert(words.end(), {"--each", "classes"});
        words.insert(words.end(), {"-o", gen + (each ? "/${name}.h" : "/all.h"), dir + "/class.mtt"});
        return words;
    };
    // The section a person writes into last.
    const int last = (_elements - 1) / 100 * 100;
    _phases = {{"first run (every file new)", {}, {}},
               {"again, nothing changed", {}, {}},
               {"model changed, all rewritten", {}, {}}};
    std::vector<Phase>& phases = _phases;
    bool ok = true;
    for (int run = 0; ok && run < iRuns; ++run) {
        gen = dir + "/gen" + std::to_string(run);
        const std::string lastFile = gen + (each ? "/Class" + std::to_string(last) + ".h" : "/all.h");
        const ChildProcess::Figures first = ChildProcess::Run(command("int.json"), "/dev/null");
        if (each) {
            for (int i = 0; i < _elements; i += 100) WriteIntoSections(gen + "/Class" + std::to_string(i) + ".h", 0, 1);
        } else {
            WriteIntoSections(lastFile, 0, 100);
        }
        const ChildProcess::Figures again = ChildProcess::Run(command("int.json"), "/dev/null");
        const ChildProcess::Figures changed = ChildProcess::Run(command("long.json"), "/dev/null");
        const std::string text = ReadFile(lastFile);
        const size_t mine = text.rfind("int mine;");
        ok = first.exitedWithZero && again.exitedWithZero && changed.exitedWithZero && mine != std::string::npos &&
             text.find("long id;") != std::string::npos &&
             text.rfind("class Class" + std::to_string(last) + " ", mine) != std::string::npos;
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

void Regeneration::Print(std::FILE* iStream) const
{
    const char* what = _layout == Layout::kFilePerElement ? "mttgen --each over %d elements, one file each"
                                                          : "mttgen -o, one file of %d classes";
    char title[128];
    std::snprintf(title, sizeof title, what, _elements);
    if (!_ok) {
        std::fprintf(iStream, "\n%s: a run failed or lost user code\n", title);
        return;
    }
    std::fprintf(iStream,
                 "\n%s with a user-code section per class, %d runs each:\n"
                 "%-32s %12s %12s\n",
                 title, _runs, "run", "median ms", "peak MB");
    for (const Phase& phase : _phases) {
        std::fprintf(iStream, "%-32s %12.1f %12.1f\n", phase.name, Median(phase.wall) * 1e3, Median(phase.peak));
    }
}
