#include "ExplainPageBench.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <unistd.h>

#include "ChildProcess.h"

namespace {

const char kPythonProgram[] = "/usr/bin/python3";

// The script lies beside the benchmark's template.
std::string ScriptPath()
{
    const std::string templatePath = MTT_BENCH_TEMPLATE;
    return templatePath.substr(0, templatePath.find_last_of('/') + 1) + "explain_page_figures.py";
}

}  // namespace

bool ExplainPageBench::Measure(int iRuns)
{
    char folder[] = "/tmp/mtt-explain-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr || access(kPythonProgram, X_OK) != 0) return false;
    const std::string output = std::string(folder) + "/figures.txt";
    const std::vector<std::string> command = {kPythonProgram, ScriptPath(),
                                              "--mttgen",     MTT_BENCH_MTTGEN,
                                              "--classes",    _classes,
                                              "--runs",       std::to_string(iRuns < 1 ? 1 : iRuns),
                                              "--work",       std::string(folder) + "/work"};
    const ChildProcess::Figures run = ChildProcess::Run(command, output);
    std::ifstream in(output);
    std::stringstream text;
    text << in.rdbuf();
    _table = text.str();
    _ok = run.exitedWithZero;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return _ok;
}

void ExplainPageBench::Print(std::FILE* iStream) const
{
    std::fprintf(iStream, "\nmttgen --explain and its page in headless Chromium (bench/explain_page_figures.py):\n");
    if (!_ok) {
        std::fprintf(iStream, "not measured: %s could not run the script\n", kPythonProgram);
        return;
    }
    std::fputs(_table.c_str(), iStream);
}
