#ifndef USERCODEMATCHER_H
#define USERCODEMATCHER_H

#include <string>
#include <vector>

#include "UserCodeSections.h"

// Decides the text of every user-code section of a new output from the
// sections of the file it replaces: by key (a section follows its owner
// wherever it moved), or, for a file with only unkeyed markers, by
// position when the numbers agree. What cannot be placed is an orphan;
// nothing is ever dropped, except sections left empty (they hold no text).
class UserCodeMatcher {
public:
    // One section of the new output: its key, and the model's text for it.
    struct Wanted {
        std::string key;
        std::string modelText;
    };
    struct Outcome {
        std::vector<std::string> texts;                  // one per wanted section
        std::vector<UserCodeSections::Section> orphans;  // existing sections placed nowhere
        // Why the sections cannot be matched without --force (empty when
        // they can), and the line it is about (0: the whole file).
        std::string conflict;
        int conflictLine = 0;
    };

    static Outcome Match(const std::vector<Wanted>& iWanted, const std::vector<UserCodeSections::Section>& iExisting);
};

#endif
