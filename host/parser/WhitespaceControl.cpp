#include "WhitespaceControl.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "SourceText.h"
#include "TemplateLexer.h"

namespace {

// Blanks and tabs, then an optional line end.
bool IsBlankLinePiece(const char* iText, size_t iLength)
{
    size_t n = iLength;
    if (n > 0 && iText[n - 1] == '\n') --n;
    if (n > 0 && iText[n - 1] == '\r') --n;
    for (size_t i = 0; i < n; ++i) {
        if (!SourceText::IsBlank(iText[i])) return false;
    }
    return true;
}

}  // namespace

WhitespaceControl::WhitespaceControl(TemplateLexer& ioLexer, const std::string& iSource)
    : _lexer(ioLexer), _source(iSource)
{
}

bool WhitespaceControl::Next(TemplateSegment& oSegment)
{
    while (_nextReady >= _ready.size()) {
        _ready.clear();
        _nextReady = 0;
        if (_done) return false;
        if (ReadLine()) {
            ProcessLine();
        } else {
            _done = true;
            FlushText();
        }
    }
    oSegment = _ready[_nextReady++];
    return true;
}

// The pieces up to and including the next line feed; a text segment is cut
// after it and its rest starts the next line.
bool WhitespaceControl::ReadLine()
{
    _line.clear();
    for (;;) {
        TemplateSegment segment;
        if (_haveRest) {
            segment = _rest;
            _haveRest = false;
        } else if (!_lexer.Next(segment)) {
            return !_line.empty();
        }
        if (segment.kind == TemplateSegment::kText) {
            const char* begin = _source.data() + segment.contentBegin;
            const void* lf = std::memchr(begin, '\n', segment.contentEnd - segment.contentBegin);
            if (lf != nullptr) {
                const uint32_t cut = static_cast<uint32_t>(static_cast<const char*>(lf) - _source.data()) + 1;
                if (cut < segment.contentEnd) {
                    _rest = segment;
                    _rest.contentBegin = cut;
                    _haveRest = true;
                }
                segment.contentEnd = cut;
                _line.push_back(segment);
                return true;
            }
        }
        _line.push_back(segment);
    }
}

std::string_view WhitespaceControl::FirstWord(const TemplateSegment& iPiece) const
{
    size_t p = iPiece.contentBegin;
    while (p < iPiece.contentEnd && SourceText::IsSpace(_source[p])) ++p;
    const size_t start = p;
    while (p < iPiece.contentEnd && (std::isalnum(static_cast<unsigned char>(_source[p])) || _source[p] == '_')) ++p;
    return std::string_view(_source).substr(start, p - start);
}

void WhitespaceControl::MarkFunctions()
{
    _inFunction.assign(_line.size(), false);
    size_t start = 0;
    int depth = 0;
    for (size_t i = 0; i < _line.size(); ++i) {
        if (_line[i].kind != TemplateSegment::kStatement) continue;
        const std::string_view word = FirstWord(_line[i]);
        if (depth == 0) {
            if (word != "function") continue;
            start = i;
        }
        if (word == "if" || word == "foreach" || word == "function") ++depth;
        if (word == "end" && depth > 0 && --depth == 0) {
            for (size_t k = start; k <= i; ++k) _inFunction[k] = true;
        }
    }
}

void WhitespaceControl::ProcessLine()
{
    // A function defined on one line counts as one directive, whatever its
    // body holds.
    MarkFunctions();
    const std::vector<bool>& inFunction = _inFunction;
    size_t first = _line.size();
    size_t last = 0;
    bool standalone = true;
    for (size_t i = 0; i < _line.size(); ++i) {
        const TemplateSegment& piece = _line[i];
        if (piece.kind == TemplateSegment::kText && !inFunction[i]) {
            standalone = standalone &&
                         IsBlankLinePiece(_source.data() + piece.contentBegin, piece.contentEnd - piece.contentBegin);
        } else if (piece.IsSilentDirective() || inFunction[i]) {
            first = std::min(first, i);
            last = i;
        } else {
            standalone = false;
        }
    }
    standalone = standalone && first < _line.size();
    for (size_t i = 0; i < _line.size(); ++i) {
        TemplateSegment& piece = _line[i];
        if (piece.kind != TemplateSegment::kText) {
            while (piece.trimBefore && _haveText && _text.contentEnd > _text.contentBegin &&
                   SourceText::IsSpace(_source[_text.contentEnd - 1])) {
                --_text.contentEnd;
            }
            FlushText();
            _ready.push_back(piece);
            _trimForward = piece.trimAfter;
            continue;
        }
        // The blanks before the first mark and after the last one, with the
        // line end; what lies between the marks is the author's text.
        if (standalone && (i < first || i > last)) continue;
        uint32_t begin = piece.contentBegin;
        if (_trimForward) {
            while (begin < piece.contentEnd && SourceText::IsSpace(_source[begin])) ++begin;
            if (begin < piece.contentEnd) _trimForward = false;
        }
        if (begin == piece.contentEnd) continue;
        if (_haveText && _text.contentEnd == begin) {
            _text.contentEnd = piece.contentEnd;
            continue;
        }
        FlushText();
        _text = piece;
        _text.contentBegin = begin;
        _haveText = true;
    }
}

void WhitespaceControl::FlushText()
{
    if (_haveText && _text.contentEnd > _text.contentBegin) {
        _text.offset = _text.contentBegin;
        _text.end = _text.contentEnd;
        _ready.push_back(_text);
    }
    _haveText = false;
}
