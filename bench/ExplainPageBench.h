#ifndef EXPLAINPAGEBENCH_H
#define EXPLAINPAGEBENCH_H

#include <cstdio>
#include <string>
#include <vector>
#include <utility>

// The explain page on the reference workload, at several sizes: mttgen's
// time and peak memory without and with --explain, the page's size, and in
// headless Chromium (where it is installed) the time until the page answers,
// a click on generated text, on a directive and on a model element, the
// tab's memory and whether the last line can be reached. The measuring is
// bench/explain_page_figures.py's, run as a process of its own (Debian's
// python3, with python3-selenium for the browser figures); like the other
// child processes, it runs while the benchmark is still small, and the
// figures are printed later.
class ExplainPageBench {
public:
    // The figures of one size; -1 for one not measured (no browser, no
    // /usr/bin/time).
    struct Size {
        int classes = 0;
        double plainMB = -1, explainMB = -1;
        double explainTimes = -1;  // the median of runs' --explain time over the plain run's beside it
        double answersMs = -1;
        double slowestClickMs = -1;  // of the three clicks
        double tabMB = -1;
        long lastLine = -1, lines = -1;
    };

    // iClasses: the sizes, as "20000,100000".
    explicit ExplainPageBench(std::string iClasses) : _classes(std::move(iClasses)) {}

    // False when the script could not run (the reason is printed then).
    bool Measure(int iRuns);
    void Print(std::FILE* iStream) const;
    const std::vector<Size>& Sizes() const { return _sizes; }

private:
    std::string _classes;
    std::string _table;
    bool _ok = false;
    std::vector<Size> _sizes;
};

#endif
