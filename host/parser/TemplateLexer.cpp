#include "TemplateLexer.h"

#include <cstring>

#include "SourceText.h"
#include "TemplateSyntaxError.h"

TemplateLexer::TemplateLexer(const SourceText& iSource) : _source(iSource) {}

bool TemplateLexer::At(size_t iPos, const char* iDelimiter) const
{
    return _source.Text().compare(iPos, std::strlen(iDelimiter), iDelimiter) == 0;
}

std::vector<TemplateSegment> TemplateLexer::Split() const
{
    const std::string& s = _source.Text();
    std::vector<TemplateSegment> segments;
    TemplateSegment text;
    bool haveText = false;
    auto addText = [&](size_t iOffset, const char* iBytes, size_t iLength) {
        if (!haveText) {
            text = TemplateSegment();
            text.offset = iOffset;
            haveText = true;
        }
        text.text.append(iBytes, iLength);
    };
    auto flushText = [&]() {
        if (haveText) segments.push_back(std::move(text));
        haveText = false;
    };

    // Texts of the tree cannot hold a NUL byte.
    size_t nul = s.find('\0');
    if (nul != std::string::npos) throw TemplateSyntaxError(nul, "unexpected NUL byte");

    size_t pos = 0;
    while (pos < s.size()) {
        char c = s[pos];
        if (c == '\\') {
            size_t run = pos;
            while (run < s.size() && s[run] == '\\') ++run;
            size_t count = run - pos;
            if (At(run, "[%") || At(run, "${")) {
                std::string half(count / 2, '\\');
                addText(pos, half.data(), half.size());
                if (count % 2 == 1) {
                    addText(pos, s.data() + run, 2);
                    pos = run + 2;
                } else {
                    pos = run;
                }
            } else {
                addText(pos, s.data() + pos, count);
                pos = run;
            }
            continue;
        }
        if (At(pos, "[%")) {
            flushText();
            pos = ScanDirective(pos, segments);
            continue;
        }
        if (At(pos, "${")) {
            flushText();
            pos = ScanProperty(pos, segments);
            continue;
        }
        addText(pos, &c, 1);
        ++pos;
    }
    flushText();
    return segments;
}

size_t TemplateLexer::SkipString(size_t iQuote) const
{
    const std::string& s = _source.Text();
    size_t p = iQuote + 1;
    while (p < s.size() && s[p] != '"' && s[p] != '\n') {
        p += (s[p] == '\\' && p + 1 < s.size() && s[p + 1] != '\n') ? 2 : 1;
    }
    if (p >= s.size() || s[p] != '"') {
        throw TemplateSyntaxError(p, "expected '\"' to close the string opened at " + _source.Where(iQuote) +
                                         " (a string cannot span lines; write \\n for a line feed)");
    }
    return p + 1;
}

size_t TemplateLexer::ScanDirective(size_t iOpen, std::vector<TemplateSegment>& ioSegments) const
{
    const std::string& s = _source.Text();
    TemplateSegment segment;
    segment.kind = TemplateSegment::kStatement;
    segment.offset = iOpen;
    size_t p = iOpen + 2;
    if (p < s.size() && s[p] == '-') {
        segment.trimBefore = true;
        ++p;
    }
    if (p < s.size() && (s[p] == '=' || s[p] == '#')) {
        segment.kind = s[p] == '=' ? TemplateSegment::kOutput : TemplateSegment::kComment;
        ++p;
        if (!segment.trimBefore && p < s.size() && s[p] == '-') {
            segment.trimBefore = true;
            ++p;
        }
    }
    const bool comment = segment.kind == TemplateSegment::kComment;
    // Built only on failure: working out a line number reads the text up to it.
    auto unclosed = [&](size_t iAt) {
        return TemplateSyntaxError(iAt, "expected '%]' to close the directive opened at " + _source.Where(iOpen));
    };
    size_t begin = p;
    for (;;) {
        if (p >= s.size()) throw unclosed(s.size());
        if (At(p, "%]")) break;
        if (!comment && At(p, "[%")) throw unclosed(p);
        if (!comment && s[p] == '"') {
            p = SkipString(p);
            continue;
        }
        ++p;
    }
    size_t end = p;
    if (end > begin && s[end - 1] == '-') {
        segment.trimAfter = true;
        --end;
    }
    segment.contentBegin = begin;
    segment.contentEnd = end;
    segment.text = s.substr(begin, end - begin);
    ioSegments.push_back(std::move(segment));
    return p + 2;
}

size_t TemplateLexer::ScanProperty(size_t iOpen, std::vector<TemplateSegment>& ioSegments) const
{
    const std::string& s = _source.Text();
    size_t p = iOpen + 2;
    while (p < s.size() && s[p] != '}' && s[p] != '\n') ++p;
    if (p >= s.size() || s[p] != '}') {
        throw TemplateSyntaxError(p, "expected '}' to close the property opened at " + _source.Where(iOpen));
    }
    TemplateSegment segment;
    segment.kind = TemplateSegment::kProperty;
    segment.offset = iOpen;
    segment.contentBegin = iOpen + 2;
    segment.contentEnd = p;
    segment.text = s.substr(iOpen + 2, p - iOpen - 2);
    ioSegments.push_back(std::move(segment));
    return p + 1;
}
