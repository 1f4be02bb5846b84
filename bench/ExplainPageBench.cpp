#include "ExplainPageBench.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "ChildProcess.h"

namespace {

const char kPythonProgram[] = "/usr/bin/python3";

// The script lies beside the benchmark's template.
std::string ScriptPath()
{
    const std::string templatePath = MTT_BENCH_TEMPLATE;
    return templatePath.substr(0, templatePath.find_last_of('/') + 1) + "explain_page_figures.py";
}

// A figure of the script's JSON, -1 when it is missing or null.
double FigureOf(const nlohmann::json& iSize, const char* iName)
{
    const auto found = iSize.find(iName);
    return found != iSize.end() && found->is_number() ? found->get<double>() : -1;
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
                                              "--work",       std::string(folder) + "/work",
                                              "--figures",    std::string(folder) + "/figures.json"};
    const ChildProcess::Figures run = ChildProcess::Run(command, output);
    std::ifstream in(output);
    std::stringstream text;
    text << in.rdbuf();
    _table = text.str();
    _ok = run.exitedWithZero;
    const nlohmann::json figures =
        nlohmann::json::parse(std::ifstream(std::string(folder) + "/figures.json"), nullptr, false);
    for (const nlohmann::json& entry : figures.is_array() ? figures : nlohmann::json::array()) {
        Size size;
        size.classes = static_cast<int>(FigureOf(entry, "classes"));
        size.plainMB = FigureOf(entry, "plain_mb");
        size.explainMB = FigureOf(entry, "explain_mb");
        size.explainTimes = FigureOf(entry, "explain_times");
        size.answersMs = FigureOf(entry, "answers_ms");
        // A click that got no answer leaves the slowest unknown.
        for (const char* click : {"click_text_ms", "click_directive_ms", "click_model_ms"}) {
            const double ms = FigureOf(entry, click);
            if (ms < 0) {
                size.slowestClickMs = -1;
                break;
            }
            size.slowestClickMs = std::max(size.slowestClickMs, ms);
        }
        size.tabMB = FigureOf(entry, "tab_mb");
        size.lastLine = static_cast<long>(FigureOf(entry, "last_line"));
        size.lines = static_cast<long>(FigureOf(entry, "lines"));
        _sizes.push_back(size);
    }
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
