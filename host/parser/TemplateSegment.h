#ifndef TEMPLATESEGMENT_H
#define TEMPLATESEGMENT_H

#include <cstdint>

// One piece of a template as the lexer splits it: literal text, an inline
// property "${...}", or a directive "[% %]", "[%= %]", "[%# %]" with its
// content and trim markers. Only offsets into the source are kept (texts
// are copied once, into their node), so that a segment stays small.
struct TemplateSegment {
    enum Kind : uint8_t { kText, kProperty, kStatement, kOutput, kComment };

    Kind kind = kText;
    // "[%-" and "-%]": trim the whitespace before / after the directive.
    bool trimBefore = false;
    bool trimAfter = false;
    // Where the segment starts in the source ("[%", "${" or the text) and
    // where it ends (after "%]" or "}"), end excluded.
    uint32_t offset = 0;
    uint32_t end = 0;
    // The content: the bytes between the delimiters, or for text the bytes
    // kept by whitespace control, delimiter escapes still unresolved (see
    // TemplateLexer::AppendText).
    uint32_t contentBegin = 0;
    uint32_t contentEnd = 0;

    // Directives that write nothing where they stand; a line holding only
    // these and blanks vanishes.
    bool IsSilentDirective() const { return kind == kStatement || kind == kComment; }
};

#endif
