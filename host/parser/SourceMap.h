#ifndef SOURCEMAP_H
#define SOURCEMAP_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class MTTNode;

// A stretch of one template file: byte offsets, end excluded.
struct SourceSpan {
    uint32_t file = 0;
    uint32_t begin = 0;
    uint32_t end = 0;
};

// Where each node of a parsed template came from: the template files (the
// main one first, then those it includes) and, per node, the span of the
// directive, property or text that made it. Messages, traces and the
// explain page use it to point at template lines. A node's entry is 16
// bytes (its span as offsets into the files' texts taken one after another,
// so that the entry needs no file number), kept in blocks (a growing
// template never copies them all at once) and looked up by binary search
// once the parse is over (Seal). A parse may leave the entries to be made
// on the first question (LocateLater).
class SourceMap {
public:
    struct File {
        std::string name;  // as given; "-" is shown as "<stdin>"
        std::string text;
        bool included = false;  // then includedFrom is the include directive
        SourceSpan includedFrom;
        uint32_t base = 0;  // where the text starts among all files' texts
    };

    // Adds a file and returns its number (0 for the first).
    uint32_t AddFile(std::string iName, std::string iText, const SourceSpan* iIncludedFrom = nullptr);
    // Whether the files' texts together reach 4 GiB, more than spans can
    // address: the parser refuses such templates.
    bool Full() const { return _nextBase >= UINT32_MAX; }
    size_t FileCount() const { return _files.size(); }
    const File& FileAt(uint32_t iFile) const { return _files[iFile]; }
    // The name shown in messages.
    std::string DisplayName(uint32_t iFile) const;

    void Record(const MTTNode* iNode, const SourceSpan& iSpan);
    // Sorts the entries; Find is linear before.
    void Seal();
    // Entries made on demand: the first Find calls iLocate once (also
    // when several threads ask at once), which Records them.
    void LocateLater(std::function<void(SourceMap&)> iLocate);
    // Nothing for a node that no template text made.
    std::optional<SourceSpan> Find(const MTTNode* iNode) const;

    // 1-based line and byte column of a span's begin.
    void LineColumn(const SourceSpan& iSpan, int& oLine, int& oColumn) const;
    // "FILE:LINE:COLUMN" of a span's begin.
    std::string Where(const SourceSpan& iSpan) const;
    // The span's source text on one line: blanks runs become one blank,
    // cut to about iMax bytes with "...".
    std::string Excerpt(const SourceSpan& iSpan, size_t iMax = 60) const;

private:
    const std::vector<uint32_t>& LineStarts(uint32_t iFile) const;

    std::deque<File> _files;  // parsers hold references to the texts
    // Built on first use, once, also when several threads ask at once.
    mutable std::deque<std::vector<uint32_t>> _lineStarts;
    mutable std::deque<std::once_flag> _lineStartsMade;
    struct Entry {
        const MTTNode* node;
        uint32_t begin;  // offsets among all files' texts (File::base)
        uint32_t end;
    };

    // Made by the parse, or by the locator on the first Find.
    mutable std::deque<Entry> _spans;
    uint64_t _nextBase = 0;
    mutable bool _sealed = false;
    std::function<void(SourceMap&)> _locate;
    mutable std::once_flag _located;
};

#endif
