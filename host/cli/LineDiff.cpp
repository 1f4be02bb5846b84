#include "LineDiff.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include <dtl/dtl.hpp>

namespace {

std::vector<size_t> Digests(std::string_view iText, const std::vector<size_t>& iStarts)
{
    std::vector<size_t> digests;
    digests.reserve(iStarts.size());
    for (size_t i = 0; i < iStarts.size(); ++i) {
        const size_t end = i + 1 < iStarts.size() ? iStarts[i + 1] : iText.size();
        digests.push_back(std::hash<std::string_view>()(iText.substr(iStarts[i], end - iStarts[i])));
    }
    return digests;
}

}  // namespace

std::vector<size_t> LineDiff::LineStarts(std::string_view iText)
{
    std::vector<size_t> starts;
    if (iText.empty()) return starts;
    starts.push_back(0);
    for (size_t at = iText.find('\n'); at != std::string::npos && at + 1 < iText.size();
         at = iText.find('\n', at + 1)) {
        starts.push_back(at + 1);
    }
    return starts;
}

std::vector<LineDiff::Hunk> LineDiff::Of(std::string_view iOld, std::string_view iNew)
{
    std::vector<Hunk> hunks;
    if (iOld == iNew) return hunks;
    const std::vector<size_t> oldLines = Digests(iOld, LineStarts(iOld));
    const std::vector<size_t> newLines = Digests(iNew, LineStarts(iNew));
    // The common beginning and end need no diff.
    size_t head = 0;
    while (head < oldLines.size() && head < newLines.size() && oldLines[head] == newLines[head]) ++head;
    size_t tail = 0;
    while (tail < oldLines.size() - head && tail < newLines.size() - head &&
           oldLines[oldLines.size() - 1 - tail] == newLines[newLines.size() - 1 - tail]) {
        ++tail;
    }
    const std::vector<size_t> oldMiddle(oldLines.begin() + head, oldLines.end() - tail);
    const std::vector<size_t> newMiddle(newLines.begin() + head, newLines.end() - tail);
    if (std::min(oldMiddle.size(), newMiddle.size()) > kMaxCompared) {
        hunks.push_back(Hunk{head, oldMiddle.size(), head, newMiddle.size()});
        return hunks;
    }
    dtl::Diff<size_t, std::vector<size_t>> diff(oldMiddle, newMiddle, true);
    diff.onHuge();
    diff.compose();
    // Runs of deleted and added lines between common ones are hunks.
    size_t oldLine = head;
    size_t newLine = head;
    Hunk open{0, 0, 0, 0};
    bool opened = false;
    for (const auto& element : diff.getSes().getSequence()) {
        const dtl::edit_t type = element.second.type;
        if (type == dtl::SES_COMMON) {
            if (opened) hunks.push_back(open);
            opened = false;
            ++oldLine;
            ++newLine;
            continue;
        }
        if (!opened) open = Hunk{oldLine, 0, newLine, 0};
        opened = true;
        if (type == dtl::SES_DELETE) {
            ++open.oldCount;
            ++oldLine;
        } else {
            ++open.newCount;
            ++newLine;
        }
    }
    if (opened) hunks.push_back(open);
    return hunks;
}
