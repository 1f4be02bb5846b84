#ifndef TEMPLATELEXER_H
#define TEMPLATELEXER_H

#include <vector>

#include "TemplateSegment.h"

class SourceText;

// First phase: splits a template into literal text, inline properties and
// directives. Resolves the delimiter escapes of the text: a run of n
// backslashes just before "[%" or "${" gives n/2 backslashes, and when n is
// odd the delimiter itself is literal text. Any other backslash is text.
// Directive ends are found outside string literals, so "%]" may appear in a
// string. Throws TemplateSyntaxError.
class TemplateLexer {
public:
    explicit TemplateLexer(const SourceText& iSource);

    std::vector<TemplateSegment> Split() const;

private:
    size_t ScanDirective(size_t iOpen, std::vector<TemplateSegment>& ioSegments) const;
    size_t ScanProperty(size_t iOpen, std::vector<TemplateSegment>& ioSegments) const;
    size_t SkipString(size_t iQuote) const;
    bool At(size_t iPos, const char* iDelimiter) const;

    const SourceText& _source;
};

#endif
