#ifndef TARGETTABLE_H
#define TARGETTABLE_H

#include <cstdio>
#include <string>
#include <vector>

#include "EndToEndComparison.h"
#include "ExplainPageBench.h"

class ColdRender;
class SummaryReporter;

// The run's figures beside the targets the project holds them to, in one
// table at the end: each figure, its target, and whether this run met it
// ("-" where the part that measures it did not run). The targets live here
// and nowhere else.
class TargetTable {
public:
    // The engine's renders against the hand-written baseline.
    void AddEngine(const SummaryReporter& iSummary);
    void AddCold(const ColdRender& iCold);
    void AddEndToEnd(const EndToEndComparison::Figures& iFigures);
    void AddExplain(const std::vector<ExplainPageBench::Size>& iSizes);

    void Print(std::FILE* iStream) const;

private:
    enum class Met { kYes, kNo, kUnknown };
    struct Row {
        std::string figure;
        std::string value;
        std::string target;
        Met met;
    };

    void Add(std::string iFigure, std::string iValue, std::string iTarget, Met iMet);
    // The time and peak memory rows of one model's end-to-end run; iModel
    // names its format in the memory row ("" or "YAML ").
    void AddModelRun(const char* iWhat, const char* iModel, double iMs, double iPeakMB, double iModelMB);

    std::vector<Row> _rows;
};

#endif
