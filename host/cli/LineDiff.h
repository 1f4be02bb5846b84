#ifndef LINEDIFF_H
#define LINEDIFF_H

#include <string>
#include <vector>

// The lines that differ between two texts, as hunks: so many lines of the
// old text replaced by so many of the new, 0-based. Lines are compared by
// a digest; a text's last line need not end with a line end.
class LineDiff {
public:
    struct Hunk {
        size_t oldFirst;
        size_t oldCount;
        size_t newFirst;
        size_t newCount;
    };

    // Past this many differing lines on both sides, what lies between the
    // common beginning and end is one hunk: the diff would take too long.
    static constexpr size_t kMaxCompared = 200000;

    static std::vector<Hunk> Of(std::string_view iOld, std::string_view iNew);
    // Where each line of a text starts (as many as it has lines).
    static std::vector<size_t> LineStarts(std::string_view iText);
};

#endif
