#ifndef HANDEDITS_H
#define HANDEDITS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "UserCodeSections.h"

// Finds what a person changed in a generated file outside its user-code
// sections. A run records one digest per line of what it wrote, the
// sections' contents left out (the skeleton); the next run compares the
// file's skeleton with that record, line by line through a diff, and so
// can name the lines edited, added or deleted since.
class HandEdits {
public:
    struct Skeleton {
        std::vector<uint32_t> digests;  // one per line outside the sections
        std::vector<int> lines;         // its 1-based line in the text
    };
    struct Edit {
        int line;          // in the current file
        int deleted;       // how many recorded lines are missing before this line
        std::string text;  // the current line (edited or added), when none is missing
    };

    static Skeleton Of(std::string_view iText, const std::vector<UserCodeSections::Section>& iSections);
    // The places where iCurrent differs from the recorded skeleton, in
    // line order.
    static std::vector<Edit> Find(const std::string& iCurrent, const Skeleton& iCurrentSkeleton,
                                  const std::vector<uint32_t>& iRecorded);
};

#endif
