#ifndef USERCODEMATCHER_H
#define USERCODEMATCHER_H

#include <string>
#include <vector>

#include "UserCodeSections.h"

// Decides the text of every user-code section of a new output from the
// sections of the file it replaces, by key: a section follows its owner
// wherever it moved. Nothing is ever guessed: where the file cannot say
// whose a text is (sections without keys, two sections with one key,
// sections that an earlier version told apart by "#2", "#3"), it is a
// conflict; with --force those texts become orphans and the new sections
// start from the model. An existing section placed nowhere is an orphan.
// Sections left empty hold nothing and are neither.
class UserCodeMatcher {
public:
    struct Conflict {
        int line;  // in the existing file
        std::string text;
    };
    struct Outcome {
        std::vector<std::string> texts;                  // one per wanted key
        std::vector<UserCodeSections::Section> orphans;  // existing text placed nowhere, in file order
        std::vector<Conflict> conflicts;                 // why not without --force
    };

    // iWanted: the keys of the new output's sections (unique), with the
    // model's text for each.
    static Outcome Match(const std::vector<std::pair<std::string, std::string>>& iWanted,
                         const std::vector<UserCodeSections::Section>& iExisting);
};

#endif
