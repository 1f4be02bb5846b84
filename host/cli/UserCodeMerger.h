#ifndef USERCODEMERGER_H
#define USERCODEMERGER_H

#include <string>
#include <vector>

// Keeps the user code of a file across regeneration. A section is the text
// between a line "// Begin of User Code" and the next "// End of User
// Code" line (the end marker may follow the user's text on the same line,
// as generation writes it). The k-th section of the existing file replaces
// the model's user code of the k-th user-code leaf of the new output.
class UserCodeMerger {
public:
    static const char* const kBeginMarker;  // "// Begin of User Code\n"
    static const char* const kEndMarker;    // "// End of User Code\n"

    struct Section {
        std::string text;
        int line;  // of the begin marker, from 1
    };

    // iFileName names the existing file in messages.
    UserCodeMerger(std::string iFileName, const std::string& iExistingText);

    // Decides the text of every user-code leaf, in order, from the model's
    // texts. Without iForce it refuses (false) unless the existing sections
    // and the new leaves pair up one to one, all sections closed; with it,
    // sections are kept by position, the model's text fills the places
    // left, and each section dropped is reported with its whole text.
    // oMessages receives complete lines for standard error.
    bool Merge(const std::vector<std::string>& iModelTexts, bool iForce,
               std::vector<std::string>& oTexts, std::string& oMessages) const;

    // The sections found, in order (an unclosed one is not among them).
    const std::vector<Section>& Sections() const { return _sections; }

    // Scans iText. oUnclosed receives what follows a begin marker that has
    // no end marker (its line set), or a line of 0 when there is none.
    static std::vector<Section> FindSections(const std::string& iText, Section& oUnclosed);

private:
    std::string DropMessage(size_t iNumber, const Section& iSection) const;

    std::string _fileName;
    std::vector<Section> _sections;
    Section _unclosed;
};

#endif
