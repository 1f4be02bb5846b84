#ifndef USERCODESECTIONS_H
#define USERCODESECTIONS_H

#include <string>
#include <vector>

#include "CommentSyntax.h"

// The user-code sections of a generated file, read strictly: a marker line
// out of place is an error naming its line, never a guess. A section's
// text is everything between its begin marker line (line end included) and
// its end marker line, byte for byte.
class UserCodeSections {
public:
    struct Section {
        std::string key;  // empty for an unkeyed (older) marker
        std::string text;
        int beginLine;  // 1-based
        int endLine;
    };

    // False with oLine and oError (no line end) when a marker is out of
    // place: an end marker outside a section, a begin marker inside one, or
    // a section left open at the end.
    bool Read(const std::string& iText, const CommentSyntax& iSyntax, int& oLine, std::string& oError);

    const std::vector<Section>& All() const { return _sections; }

private:
    std::vector<Section> _sections;
};

#endif
