#include "TemplateLexer.h"

#include <cstring>

#include "PropertyReference.h"
#include "SourceText.h"
#include "TemplateSyntaxError.h"

namespace {

// Bytes that may start an escape or a delimiter in the text; every other
// byte is part of a run.
bool IsSpecial(char c)
{
    return c == '\\' || c == '[' || c == '$';
}

// "[%" or "${" at iPos.
bool DelimiterAt(const std::string& iText, size_t iPos)
{
    return iPos + 1 < iText.size() &&
           ((iText[iPos] == '[' && iText[iPos + 1] == '%') || (iText[iPos] == '$' && iText[iPos + 1] == '{'));
}

}  // namespace

TemplateLexer::TemplateLexer(const SourceText& iSource) : _source(iSource), _pos(0)
{
    // Texts of the tree cannot hold a NUL byte.
    const std::string& s = _source.Text();
    if (std::memchr(s.data(), '\0', s.size()) != nullptr) {
        throw TemplateSyntaxError(s.find('\0'), "unexpected NUL byte");
    }
}

bool TemplateLexer::Next(TemplateSegment& oSegment)
{
    const std::string& s = _source.Text();
    if (_pos >= s.size()) return false;
    oSegment = TemplateSegment();
    oSegment.offset = static_cast<uint32_t>(_pos);
    size_t end = 0;
    if (s[_pos] == '[' && DelimiterAt(s, _pos)) {
        end = ScanDirective(_pos, oSegment);
    } else if (s[_pos] == '$' && DelimiterAt(s, _pos)) {
        const size_t close = PropertyReference::FindEnd(_source, _pos, s.size());
        oSegment.kind = TemplateSegment::kProperty;
        oSegment.contentBegin = static_cast<uint32_t>(_pos + 2);
        oSegment.contentEnd = static_cast<uint32_t>(close);
        end = close + 1;
    } else {
        end = ScanText(_pos);
        oSegment.kind = TemplateSegment::kText;
        oSegment.contentBegin = static_cast<uint32_t>(_pos);
        oSegment.contentEnd = static_cast<uint32_t>(end);
    }
    oSegment.end = static_cast<uint32_t>(end);
    _pos = end;
    return true;
}

size_t TemplateLexer::ScanText(size_t iBegin) const
{
    const std::string& s = _source.Text();
    const size_t size = s.size();
    size_t p = iBegin;
    while (p < size) {
        const char c = s[p];
        if (!IsSpecial(c)) {
            ++p;
            continue;
        }
        if (c == '\\') {
            size_t run = p;
            while (run < size && s[run] == '\\') ++run;
            // An odd run escapes the delimiter; an even one leaves it to
            // start the next segment.
            if (DelimiterAt(s, run) && (run - p) % 2 == 0) return run;
            p = DelimiterAt(s, run) ? run + 2 : run;
            continue;
        }
        if (DelimiterAt(s, p)) return p;
        ++p;
    }
    return size;
}

void TemplateLexer::AppendText(const std::string& iSource, size_t iBegin, size_t iEnd, std::string& ioText)
{
    size_t p = iBegin;
    while (p < iEnd) {
        const void* found = std::memchr(iSource.data() + p, '\\', iEnd - p);
        if (found == nullptr) {
            ioText.append(iSource, p, iEnd - p);
            return;
        }
        const size_t slash = static_cast<size_t>(static_cast<const char*>(found) - iSource.data());
        ioText.append(iSource, p, slash - p);
        size_t run = slash;
        while (run < iEnd && iSource[run] == '\\') ++run;
        const size_t count = run - slash;
        if (!DelimiterAt(iSource, run)) {
            ioText.append(count, '\\');
            p = run;
            continue;
        }
        ioText.append(count / 2, '\\');
        p = run;
        if (count % 2 == 1 && run + 2 <= iEnd) {
            ioText.append(iSource, run, 2);
            p = run + 2;
        }
    }
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

size_t TemplateLexer::ScanDirective(size_t iOpen, TemplateSegment& oSegment) const
{
    const std::string& s = _source.Text();
    const size_t size = s.size();
    oSegment.kind = TemplateSegment::kStatement;
    size_t p = iOpen + 2;
    if (p < size && s[p] == '-') {
        oSegment.trimBefore = true;
        ++p;
    }
    if (p < size && (s[p] == '=' || s[p] == '#')) {
        oSegment.kind = s[p] == '=' ? TemplateSegment::kOutput : TemplateSegment::kComment;
        ++p;
        if (!oSegment.trimBefore && p < size && s[p] == '-') {
            oSegment.trimBefore = true;
            ++p;
        }
    }
    const bool comment = oSegment.kind == TemplateSegment::kComment;
    // Built only on failure: working out a line number reads the text up to it.
    auto unclosed = [&](size_t iAt) {
        return TemplateSyntaxError(iAt, "expected '%]' to close the directive opened at " + _source.Where(iOpen));
    };
    const size_t begin = p;
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
            if (c == '$' && p + 1 < size && s[p + 1] == '{') {
                // A quoted name in a property may hold "%]".
                p = PropertyReference::FindEnd(_source, p, size) + 1;
                continue;
            }
        }
        ++p;
    }
    size_t end = p;
    if (end > begin && s[end - 1] == '-') {
        oSegment.trimAfter = true;
        --end;
    }
    oSegment.contentBegin = static_cast<uint32_t>(begin);
    oSegment.contentEnd = static_cast<uint32_t>(end);
    return p + 2;
}
