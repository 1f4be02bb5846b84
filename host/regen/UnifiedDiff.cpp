#include "UnifiedDiff.h"

#include <vector>

#include <dtl/dtl.hpp>

namespace {

const long kContext = 3;

// Lines with their line ends, so that a last line without one differs.
std::vector<std::string> Lines(const std::string& iText)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start < iText.size();) {
        size_t end = iText.find('\n', start);
        end = end == std::string::npos ? iText.size() : end + 1;
        lines.push_back(iText.substr(start, end - start));
        start = end;
    }
    return lines;
}

struct Row {
    char mark;  // ' ', '-' or '+'
    const std::string* line;
    long before;  // 1-based line in the old text (0: none)
    long after;
};

std::string Range(long iStart, long iCount)
{
    return iCount == 1 ? std::to_string(iStart)
                       : std::to_string(iCount == 0 ? iStart - 1 : iStart) + "," + std::to_string(iCount);
}

}  // namespace

std::string UnifiedDiff::Of(const std::string& iBefore, const std::string& iAfter, const std::string& iOldName,
                            const std::string& iNewName)
{
    if (iBefore == iAfter) return std::string();
    const std::vector<std::string> before = Lines(iBefore);
    const std::vector<std::string> after = Lines(iAfter);
    dtl::Diff<std::string, std::vector<std::string>> diff(before, after, true);
    diff.onHuge();
    diff.compose();
    std::vector<Row> rows;
    long oldLine = 0;
    long newLine = 0;
    for (const auto& element : diff.getSes().getSequence()) {
        const dtl::elemInfo& info = element.second;
        if (info.type == dtl::SES_DELETE) {
            rows.push_back(Row{'-', &before[static_cast<size_t>(info.beforeIdx - 1)], ++oldLine, 0});
        } else if (info.type == dtl::SES_ADD) {
            rows.push_back(Row{'+', &after[static_cast<size_t>(info.afterIdx - 1)], 0, ++newLine});
        } else {
            rows.push_back(Row{' ', &before[static_cast<size_t>(info.beforeIdx - 1)], ++oldLine, ++newLine});
        }
    }
    std::string text = "--- " + iOldName + "\n+++ " + iNewName + "\n";
    for (size_t i = 0; i < rows.size();) {
        if (rows[i].mark == ' ') {
            ++i;
            continue;
        }
        // A hunk: the changes from here, with the context around them,
        // joined with the next when fewer than twice the context lie between.
        size_t first = i;
        for (long context = 0; first > 0 && context < kContext && rows[first - 1].mark == ' '; ++context) --first;
        size_t last = i;
        for (size_t j = i; j < rows.size(); ++j) {
            if (rows[j].mark != ' ') {
                last = j;
            } else if (static_cast<long>(j - last) > 2 * kContext) {
                break;
            }
        }
        size_t end = last + 1;
        for (long context = 0; end < rows.size() && context < kContext && rows[end].mark == ' '; ++context) ++end;
        long oldStart = 0, oldCount = 0, newStart = 0, newCount = 0;
        for (size_t j = first; j < end; ++j) {
            if (rows[j].mark != '+') {
                if (oldCount++ == 0) oldStart = rows[j].before;
            }
            if (rows[j].mark != '-') {
                if (newCount++ == 0) newStart = rows[j].after;
            }
        }
        // An empty side starts after the line before it.
        if (oldCount == 0) oldStart = first < rows.size() && first > 0 ? rows[first - 1].before + 1 : 1;
        if (newCount == 0) newStart = first < rows.size() && first > 0 ? rows[first - 1].after + 1 : 1;
        text += "@@ -" + Range(oldStart, oldCount) + " +" + Range(newStart, newCount) + " @@\n";
        for (size_t j = first; j < end; ++j) {
            text += rows[j].mark + *rows[j].line;
            if (rows[j].line->empty() || rows[j].line->back() != '\n') text += "\n\\ No newline at end of file\n";
        }
        i = end;
    }
    return text;
}
