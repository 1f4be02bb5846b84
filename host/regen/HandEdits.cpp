#include "HandEdits.h"

#include <algorithm>
#include <cstdint>

#include <dtl/dtl.hpp>

#include "Digest.h"

HandEdits::Skeleton HandEdits::Of(std::string_view iText, const std::vector<UserCodeSections::Section>& iSections)
{
    Skeleton skeleton;
    const size_t ends = static_cast<size_t>(std::count(iText.begin(), iText.end(), '\n'));
    const size_t lines = ends + (!iText.empty() && iText.back() != '\n' ? 1 : 0);
    // Every line is digested, then those inside the sections dropped.
    skeleton.digests.resize(lines);
    Digest::OfEveryLine(iText, skeleton.digests.data());
    skeleton.lines.reserve(lines);
    size_t kept = 0;
    size_t section = 0;
    for (size_t i = 0; i < lines; ++i) {
        const int line = static_cast<int>(i) + 1;
        while (section < iSections.size() && iSections[section].endLine < line) ++section;
        const bool inside =
            section < iSections.size() && line > iSections[section].beginLine && line < iSections[section].endLine;
        if (!inside) {
            skeleton.digests[kept++] = skeleton.digests[i];
            skeleton.lines.push_back(line);
        }
    }
    skeleton.digests.resize(kept);
    return skeleton;
}

std::vector<HandEdits::Edit> HandEdits::Find(const std::string& iCurrent, const Skeleton& iCurrentSkeleton,
                                             const std::vector<uint32_t>& iRecorded)
{
    std::vector<Edit> edits;
    if (iCurrentSkeleton.digests == iRecorded) return edits;
    // Deletions first, so that a changed line reads as one deleted and one added in its place.
    dtl::Diff<uint32_t, std::vector<uint32_t>> diff(iRecorded, iCurrentSkeleton.digests, true);
    diff.onHuge();
    diff.compose();
    // A run of deleted lines followed by added ones is that many edited
    // lines, and the rest deleted (reported where they were) or added.
    std::vector<size_t> deletions;
    size_t deletion = SIZE_MAX;  // the edit counting the current run's deleted lines
    bool placed = false;         // whether it knows its line yet
    for (const auto& element : diff.getSes().getSequence()) {
        const dtl::elemInfo& info = element.second;
        if (info.type == dtl::SES_DELETE) {
            if (deletion == SIZE_MAX) {
                deletion = edits.size();
                placed = false;
                deletions.push_back(deletion);
                edits.push_back(Edit{0, 0, std::string()});
            }
            ++edits[deletion].deleted;
            continue;
        }
        const int line = iCurrentSkeleton.lines[static_cast<size_t>(info.afterIdx - 1)];
        if (deletion != SIZE_MAX && !placed) {
            edits[deletion].line = line;
            placed = true;
        }
        if (info.type == dtl::SES_ADD) {
            if (deletion != SIZE_MAX && edits[deletion].deleted > 0) --edits[deletion].deleted;
            edits.push_back(Edit{line, 0, std::string()});
        } else {
            deletion = SIZE_MAX;
        }
    }
    if (deletion != SIZE_MAX && !placed) {
        edits[deletion].line = iCurrentSkeleton.lines.empty() ? 1 : iCurrentSkeleton.lines.back() + 1;
    }
    // Deletions that all turned out to be edited lines.
    for (auto index = deletions.rbegin(); index != deletions.rend(); ++index) {
        if (edits[*index].deleted == 0) edits.erase(edits.begin() + static_cast<std::ptrdiff_t>(*index));
    }
    // The texts of the lines named, in one pass over the file.
    size_t next = 0;
    int line = 1;
    for (size_t start = 0; start < iCurrent.size() && next < edits.size(); ++line) {
        size_t end = iCurrent.find('\n', start);
        if (end == std::string::npos) end = iCurrent.size();
        for (; next < edits.size() && edits[next].line <= line; ++next) {
            if (edits[next].line == line && edits[next].deleted == 0) {
                const size_t stop = end > start && iCurrent[end - 1] == '\r' ? end - 1 : end;
                edits[next].text = iCurrent.substr(start, stop - start);
            }
        }
        start = end + 1;
    }
    return edits;
}
