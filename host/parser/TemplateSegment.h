#ifndef TEMPLATESEGMENT_H
#define TEMPLATESEGMENT_H

#include <cstddef>
#include <string>

// One piece of a template as the lexer splits it: literal text (escapes
// already resolved), an inline property "${...}", or a directive
// "[% %]", "[%= %]", "[%# %]" with its content and trim markers.
struct TemplateSegment {
    enum Kind { kText, kProperty, kStatement, kOutput, kComment };

    Kind kind = kText;
    // kText: the resolved text. Empty for the other kinds, whose content
    // stays in the source between contentBegin and contentEnd.
    std::string text;
    // Where the segment starts in the source ("[%", "${" or the text).
    size_t offset = 0;
    // Where it ends in the source (after "%]" or "}"), end excluded.
    size_t end = 0;
    // Where the content begins and ends in the source (delimited kinds).
    size_t contentBegin = 0;
    size_t contentEnd = 0;
    // "[%-" and "-%]": trim the whitespace before / after the directive.
    bool trimBefore = false;
    bool trimAfter = false;

    // Directives that write nothing where they stand; a line holding only
    // these and blanks vanishes.
    bool IsSilentDirective() const { return kind == kStatement || kind == kComment; }
};

#endif
