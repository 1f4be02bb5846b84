#include "TemplateLexer.h"

#include <cstring>

#include "SourceText.h"
#include "TemplateSyntaxError.h"

namespace {

// Bytes that may start an escape or a delimiter in the text; every other
// byte is copied as part of a run.
bool IsSpecial(char c) { return c == '\\' || c == '[' || c == '$'; }

}  // namespace

TemplateLexer::TemplateLexer(const SourceText& iSource) : _source(iSource) {}

bool TemplateLexer::At(size_t iPos, const char* iDelimiter) const
{
    // Delimiters are two bytes long.
    const std::string& s = _source.Text();
    return iPos + 1 < s.size() && s[iPos] == iDelimiter[0] && s[iPos + 1] == iDelimiter[1];
}

std::vector<TemplateSegment> TemplateLexer::Split() const
{
    const std::string& s = _source.Text();
    const size_t size = s.size();
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
    size_t pos = 0;
    auto flushText = [&]() {
        text.end = pos;
        if (haveText) segments.push_back(std::move(text));
        haveText = false;
    };

    // Texts of the tree cannot hold a NUL byte.
    if (std::memchr(s.data(), '\0', size) != nullptr) {
        throw TemplateSyntaxError(s.find('\0'), "unexpected NUL byte");
    }

    while (pos < size) {
        char c = s[pos];
        if (!IsSpecial(c)) {
            size_t run = pos + 1;
            while (run < size && !IsSpecial(s[run])) ++run;
            addText(pos, s.data() + pos, run - pos);
            pos = run;
            continue;
        }
        if (c == '\\') {
            size_t run = pos;
            while (run < size && s[run] == '\\') ++run;
            size_t count = run - pos;
            if (At(run, "[%") || At(run, "${")) {
                if (count / 2 > 0) addText(pos, s.data() + pos, count / 2);
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
    const size_t size = s.size();
    TemplateSegment segment;
    segment.kind = TemplateSegment::kStatement;
    segment.offset = iOpen;
    size_t p = iOpen + 2;
    if (p < size && s[p] == '-') {
        segment.trimBefore = true;
        ++p;
    }
    if (p < size && (s[p] == '=' || s[p] == '#')) {
        segment.kind = s[p] == '=' ? TemplateSegment::kOutput : TemplateSegment::kComment;
        ++p;
        if (!segment.trimBefore && p < size && s[p] == '-') {
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
        if (p >= size) throw unclosed(size);
        const char c = s[p];
        if (c == '%') {
            if (p + 1 < size && s[p + 1] == ']') break;
        } else if (!comment) {
            if (c == '[' && p + 1 < size && s[p + 1] == '%') throw unclosed(p);
            if (c == '"') {
                p = SkipString(p);
                continue;
            }
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
    segment.end = p + 2;
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
    segment.end = p + 1;
    ioSegments.push_back(std::move(segment));
    return p + 1;
}
