#include "HandEdits.h"

#include <dtl/dtl.hpp>

#include "Digest.h"

HandEdits::Skeleton HandEdits::Of(const std::string& iText, const std::vector<UserCodeSections::Section>& iSections)
{
    Skeleton skeleton;
    size_t section = 0;
    int line = 1;
    for (size_t start = 0; start < iText.size(); ++line) {
        size_t end = iText.find('\n', start);
        if (end == std::string::npos) end = iText.size();
        while (section < iSections.size() && iSections[section].endLine < line) ++section;
        const bool inside =
            section < iSections.size() && line > iSections[section].beginLine && line < iSections[section].endLine;
        if (!inside) {
            skeleton.digests.push_back(Digest::OfLine(std::string_view(iText).substr(start, end - start)));
            skeleton.lines.push_back(line);
        }
        start = end + 1;
    }
    return skeleton;
}

std::vector<HandEdits::Edit> HandEdits::Find(const std::string& iCurrent, const Skeleton& iCurrentSkeleton,
                                             const std::vector<uint32_t>& iRecorded)
{
    std::vector<Edit> edits;
    if (iCurrentSkeleton.digests == iRecorded) return edits;
    dtl::Diff<uint32_t, std::vector<uint32_t>> diff(iRecorded, iCurrentSkeleton.digests);
    diff.onHuge();
    diff.compose();
    bool pending = false;  // recorded lines missing before the next current line
    for (const auto& element : diff.getSes().getSequence()) {
        const dtl::elemInfo& info = element.second;
        if (info.type == dtl::SES_DELETE) {
            if (!pending) edits.push_back(Edit{0, true, std::string()});
            pending = true;
            continue;
        }
        const int line = iCurrentSkeleton.lines[static_cast<size_t>(info.afterIdx - 1)];
        if (pending) {
            pending = false;
            // A line deleted and one added in its place: an edited line.
            if (info.type == dtl::SES_ADD) {
                edits.pop_back();
            } else {
                edits.back().line = line;
            }
        }
        if (info.type == dtl::SES_ADD) edits.push_back(Edit{line, false, std::string()});
    }
    if (pending) edits.back().line = iCurrentSkeleton.lines.empty() ? 1 : iCurrentSkeleton.lines.back() + 1;
    // The texts of the lines named, in one pass over the file.
    size_t next = 0;
    int line = 1;
    for (size_t start = 0; start < iCurrent.size() && next < edits.size(); ++line) {
        size_t end = iCurrent.find('\n', start);
        if (end == std::string::npos) end = iCurrent.size();
        for (; next < edits.size() && edits[next].line <= line; ++next) {
            if (edits[next].line == line && !edits[next].deleted) {
                const size_t stop = end > start && iCurrent[end - 1] == '\r' ? end - 1 : end;
                edits[next].text = iCurrent.substr(start, stop - start);
            }
        }
        start = end + 1;
    }
    return edits;
}
