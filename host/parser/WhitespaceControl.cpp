#include "WhitespaceControl.h"

#include <cstring>

#include "TemplateLexer.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Blanks and tabs, then an optional line end.
bool IsBlankLinePiece(const char* iText, size_t iLength)
{
    size_t n = iLength;
    if (n > 0 && iText[n - 1] == '\n') --n;
    if (n > 0 && iText[n - 1] == '\r') --n;
    for (size_t i = 0; i < n; ++i) {
        if (!IsBlank(iText[i])) return false;
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

void WhitespaceControl::ProcessLine()
{
    bool silent = false;
    bool standalone = true;
    for (const TemplateSegment& piece : _line) {
        if (piece.kind == TemplateSegment::kText) {
            standalone = standalone &&
                         IsBlankLinePiece(_source.data() + piece.contentBegin, piece.contentEnd - piece.contentBegin);
        } else if (piece.IsSilentDirective()) {
            silent = true;
        } else {
            standalone = false;
        }
    }
    for (TemplateSegment& piece : _line) {
        if (piece.kind != TemplateSegment::kText) {
            while (piece.trimBefore && _haveText && _text.contentEnd > _text.contentBegin &&
                   IsSpace(_source[_text.contentEnd - 1])) {
                --_text.contentEnd;
            }
            FlushText();
            _ready.push_back(piece);
            _trimForward = piece.trimAfter;
            continue;
        }
        if (silent && standalone) continue;
        uint32_t begin = piece.contentBegin;
        if (_trimForward) {
            while (begin < piece.contentEnd && IsSpace(_source[begin])) ++begin;
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
