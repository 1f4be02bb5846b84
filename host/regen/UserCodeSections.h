#ifndef USERCODESECTIONS_H
#define USERCODESECTIONS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The user-code sections of a generated file, read strictly: a marker line
// out of place or damaged is an error naming its line, never a guess.
// Markers are read in every comment syntax the tool knows (MarkerLine). A
// section's text is everything between its begin marker line (line end
// included) and its end marker line, byte for byte.
class UserCodeSections {
public:
    struct Section {
        std::string key;  // empty for an unkeyed (older) marker
        std::string text;
        int beginLine = 0;  // 1-based
        int endLine = 0;
        size_t syntax = 0;  // index in CommentSyntax::Known()
    };

    // False with oLine and oError (no line end) when a marker is out of
    // place: an end marker outside a section, a begin marker inside one, a
    // section left open at the end or closed in another comment syntax, or
    // a damaged marker line.
    bool Read(std::string_view iText, int& oLine, std::string& oError);

    const std::vector<Section>& All() const { return _sections; }
    // Whether any section is written in another syntax than iSyntax.
    bool AnyNotIn(size_t iSyntax) const;

private:
    std::vector<Section> _sections;
};

#endif
