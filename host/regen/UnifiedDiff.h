#ifndef UNIFIEDDIFF_H
#define UNIFIEDDIFF_H

#include <string>

// The difference of two texts in the unified format that diff -u and
// patch read: "--- OLD" and "+++ NEW" lines, then hunks of changed lines
// with three lines of context. A text that does not end with a line end is
// marked as diff marks it. Empty when the texts are equal.
class UnifiedDiff {
public:
    static std::string Of(const std::string& iBefore, const std::string& iAfter, const std::string& iOldName,
                          const std::string& iNewName);
};

#endif
