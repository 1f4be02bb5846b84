#ifndef TEMPLATELEXER_H
#define TEMPLATELEXER_H

#include <cstddef>
#include <string>

#include "TemplateSegment.h"

class SourceText;

// First phase: splits a template into literal text, inline properties and
// directives, one segment at a time, so that no list of all segments is
// ever held. Delimiter escapes in the text: a run of n backslashes just
// before "[%" or "${" gives n/2 backslashes, and when n is odd the
// delimiter itself is literal text; any other backslash is text. Directive
// ends are found outside string literals, so "%]" may appear in a string.
// Throws TemplateSyntaxError.
class TemplateLexer {
public:
    explicit TemplateLexer(const SourceText& iSource);

    // The next segment in source order; false at the end of the template.
    bool Next(TemplateSegment& oSegment);

    // Appends the source bytes iBegin..iEnd of a text segment to ioText with
    // the delimiter escapes resolved.
    static void AppendText(const std::string& iSource, size_t iBegin, size_t iEnd, std::string& ioText);

private:
    size_t ScanText(size_t iBegin) const;
    size_t ScanDirective(size_t iOpen, TemplateSegment& oSegment) const;
    size_t SkipString(size_t iQuote) const;

    const SourceText& _source;
    size_t _pos;
};

#endif
