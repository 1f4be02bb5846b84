#include "TargetTable.h"

#include <algorithm>
#include <cstdarg>

#include "ColdRender.h"
#include "SummaryReporter.h"

namespace {

const double kTextPathTimes = 1.5;
const double kTreePathTimes = 4;
const double kColdTimes = 1.5;
const double kEndToEndMs = 50;
const double kJinja2Times = 15;
const double kPeakModelTimes = 3;
const double kExplainTimes = 2;
const double kAnswersMs = 2000;
const double kClickMs = 200;
const double kTabMB = 1500;
// The sizes the explain rows are about.
const int kExplainClasses = 20000;
const int kLargeClasses = 100000;

std::string Format(const char* iFormat, ...)
{
    char text[128];
    va_list arguments;
    va_start(arguments, iFormat);
    std::vsnprintf(text, sizeof text, iFormat, arguments);
    va_end(arguments);
    return text;
}

// Whether every figure (positive when measured) is at most its limit.
template <class Within>
bool All(std::initializer_list<double> iFigures, Within iWithin)
{
    return std::all_of(iFigures.begin(), iFigures.end(), iWithin);
}

bool Measured(std::initializer_list<double> iFigures)
{
    return All(iFigures, [](double iFigure) { return iFigure > 0; });
}

const ExplainPageBench::Size* SizeOf(const std::vector<ExplainPageBench::Size>& iSizes, int iClasses)
{
    for (const ExplainPageBench::Size& size : iSizes) {
        if (size.classes == iClasses) return &size;
    }
    return nullptr;
}

}  // namespace

void TargetTable::Add(std::string iFigure, std::string iValue, std::string iTarget, Met iMet)
{
    _rows.push_back(Row{std::move(iFigure), std::move(iValue), std::move(iTarget), iMet});
}

void TargetTable::AddEngine(const SummaryReporter& iSummary)
{
    const double baseline = iSummary.MedianSeconds("a_baseline_std_string");
    const auto times = [&](const char* iCase) {
        const double seconds = iSummary.MedianSeconds(iCase);
        return baseline > 0 && seconds > 0 ? seconds / baseline : -1;
    };
    const struct {
        const char* figure;
        const char* lean;
        const char* json;
        double limit;
    } paths[] = {{"text path / baseline (lean, JSON model)", "b_text_lean", "c_text_json", kTextPathTimes},
                 {"tree path / baseline (lean, JSON model)", "b_tree_lean", "c_tree_json", kTreePathTimes}};
    for (const auto& path : paths) {
        const double lean = times(path.lean), json = times(path.json);
        const double limit = path.limit;
        Add(path.figure, Measured({lean, json}) ? Format("%.2fx, %.2fx", lean, json) : "-", Format("<= %.1fx", limit),
            !Measured({lean, json})                                   ? Met::kUnknown
            : All({lean, json}, [&](double x) { return x <= limit; }) ? Met::kYes
                                                                      : Met::kNo);
    }
}

void TargetTable::AddCold(const ColdRender& iCold)
{
    for (const char* path : {"tree", "text"}) {
        const double ratio = iCold.Ratio(path);
        Add(Format("first render / warm, %s path", path), ratio > 0 ? Format("%.2fx", ratio) : "-",
            Format("<= %.1fx", kColdTimes),
            ratio <= 0            ? Met::kUnknown
            : ratio <= kColdTimes ? Met::kYes
                                  : Met::kNo);
    }
}

void TargetTable::AddEndToEnd(const EndToEndComparison::Figures& iFigures)
{
    AddModelRun("mttgen end to end", "", iFigures.mttgenMs, iFigures.mttgenPeakMB, iFigures.modelMB);
    const double ms = iFigures.mttgenMs, jinja2 = iFigures.jinja2Ms;
    const double faster = ms > 0 && jinja2 > 0 ? jinja2 / ms : -1;
    Add("mttgen vs Jinja2 end to end, medians", faster > 0 ? Format("%.1fx as fast", faster) : "-",
        Format(">= %.0fx", kJinja2Times),
        faster <= 0              ? Met::kUnknown
        : faster >= kJinja2Times ? Met::kYes
                                 : Met::kNo);
    AddModelRun("mttgen end to end, YAML model", "YAML ", iFigures.yamlMs, iFigures.yamlPeakMB, iFigures.yamlModelMB);
}

void TargetTable::AddModelRun(const char* iWhat, const char* iModel, double iMs, double iPeakMB, double iModelMB)
{
    Add(Format("%s, median", iWhat), iMs > 0 ? Format("%.1f ms", iMs) : "-", Format("<= %.0f ms", kEndToEndMs),
        iMs <= 0             ? Met::kUnknown
        : iMs <= kEndToEndMs ? Met::kYes
                             : Met::kNo);
    const double peak = iPeakMB > 0 && iModelMB > 0 ? iPeakMB / iModelMB : -1;
    Add(Format("mttgen peak memory / %smodel size", iModel), peak > 0 ? Format("%.1fx (%.1f MB)", peak, iPeakMB) : "-",
        Format("< %.0fx", kPeakModelTimes),
        peak <= 0                ? Met::kUnknown
        : peak < kPeakModelTimes ? Met::kYes
                                 : Met::kNo);
}

void TargetTable::AddExplain(const std::vector<ExplainPageBench::Size>& iSizes)
{
    const ExplainPageBench::Size* size = SizeOf(iSizes, kExplainClasses);
    const double time = size ? size->explainTimes : -1;
    const double memory = size && size->plainMB > 0 && size->explainMB > 0 ? size->explainMB / size->plainMB : -1;
    Add(Format("--explain / plain at %d classes (time, memory)", kExplainClasses),
        Measured({time, memory}) ? Format("%.1fx, %.1fx", time, memory) : "-", Format("<= %.0fx", kExplainTimes),
        !Measured({time, memory})                                          ? Met::kUnknown
        : All({time, memory}, [](double x) { return x <= kExplainTimes; }) ? Met::kYes
                                                                           : Met::kNo);
    const double answers = size ? size->answersMs : -1, click = size ? size->slowestClickMs : -1;
    Add(Format("page answers, slowest click at %d classes", kExplainClasses),
        Measured({answers, click}) ? Format("%.0f ms, %.0f ms", answers, click) : "-",
        Format("< %.0f ms, < %.0f ms", kAnswersMs, kClickMs),
        !Measured({answers, click})                ? Met::kUnknown
        : answers < kAnswersMs && click < kClickMs ? Met::kYes
                                                   : Met::kNo);
    const ExplainPageBench::Size* large = SizeOf(iSizes, kLargeClasses);
    const bool known = large && large->lastLine > 0 && large->lines > 0 && large->tabMB > 0;
    Add(Format("last line reached, tab memory at %d classes", kLargeClasses),
        known ? Format("%ld/%ld, %.0f MB", large->lastLine, large->lines, large->tabMB) : "-",
        Format("all, < %.0f MB", kTabMB),
        !known                                                     ? Met::kUnknown
        : large->lastLine == large->lines && large->tabMB < kTabMB ? Met::kYes
                                                                   : Met::kNo);
}

void TargetTable::Print(std::FILE* iStream) const
{
    std::fprintf(iStream,
                 "\nTargets: this run's figures (medians, as above) beside the targets:\n%-50s %-24s %-20s %s\n",
                 "figure", "this run", "target", "met");
    for (const Row& row : _rows) {
        const char* met = row.met == Met::kYes ? "yes" : row.met == Met::kNo ? "no" : "-";
        std::fprintf(iStream, "%-50s %-24s %-20s %s\n", row.figure.c_str(), row.value.c_str(), row.target.c_str(), met);
    }
}
