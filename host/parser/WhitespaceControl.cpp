#include "WhitespaceControl.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool EndsLine(const TemplateSegment& s) { return s.kind == TemplateSegment::kText && !s.text.empty() && s.text.back() == '\n'; }

// Blanks and tabs, then an optional line end.
bool IsBlankLinePiece(const std::string& iText)
{
    size_t n = iText.size();
    if (n > 0 && iText[n - 1] == '\n') --n;
    if (n > 0 && iText[n - 1] == '\r') --n;
    for (size_t i = 0; i < n; ++i) {
        if (!IsBlank(iText[i])) return false;
    }
    return true;
}

}  // namespace

std::vector<TemplateSegment> WhitespaceControl::Apply(std::vector<TemplateSegment> iSegments)
{
    std::vector<TemplateSegment> pieces = SplitLines(std::move(iSegments));
    RemoveStandaloneLines(pieces);
    ApplyTrimMarkers(pieces);
    return JoinText(std::move(pieces));
}

// Cuts every text segment after each line feed, so that a line ends exactly
// at the end of a text piece.
std::vector<TemplateSegment> WhitespaceControl::SplitLines(std::vector<TemplateSegment> iSegments)
{
    std::vector<TemplateSegment> pieces;
    pieces.reserve(iSegments.size());
    for (TemplateSegment& segment : iSegments) {
        if (segment.kind != TemplateSegment::kText) {
            pieces.push_back(std::move(segment));
            continue;
        }
        size_t start = 0;
        while (start < segment.text.size()) {
            size_t lf = segment.text.find('\n', start);
            size_t end = lf == std::string::npos ? segment.text.size() : lf + 1;
            TemplateSegment piece;
            piece.offset = segment.offset;
            piece.text = segment.text.substr(start, end - start);
            pieces.push_back(std::move(piece));
            start = end;
        }
    }
    return pieces;
}

void WhitespaceControl::RemoveStandaloneLines(std::vector<TemplateSegment>& ioPieces)
{
    size_t lineStart = 0;
    while (lineStart < ioPieces.size()) {
        size_t lineEnd = lineStart;  // one past the line's last piece
        while (lineEnd < ioPieces.size() && !EndsLine(ioPieces[lineEnd])) ++lineEnd;
        if (lineEnd < ioPieces.size()) ++lineEnd;

        bool silent = false;
        bool standalone = true;
        for (size_t i = lineStart; i < lineEnd && standalone; ++i) {
            const TemplateSegment& piece = ioPieces[i];
            if (piece.kind == TemplateSegment::kText) {
                standalone = IsBlankLinePiece(piece.text);
            } else if (piece.IsSilentDirective()) {
                silent = true;
            } else {
                standalone = false;
            }
        }
        if (silent && standalone) {
            for (size_t i = lineStart; i < lineEnd; ++i) {
                if (ioPieces[i].kind == TemplateSegment::kText) ioPieces[i].text.clear();
            }
        }
        lineStart = lineEnd;
    }
}

void WhitespaceControl::ApplyTrimMarkers(std::vector<TemplateSegment>& ioPieces)
{
    for (size_t i = 0; i < ioPieces.size(); ++i) {
        if (ioPieces[i].kind == TemplateSegment::kText) continue;
        if (ioPieces[i].trimBefore) {
            for (size_t j = i; j-- > 0 && ioPieces[j].kind == TemplateSegment::kText;) {
                std::string& text = ioPieces[j].text;
                while (!text.empty() && IsSpace(text.back())) text.pop_back();
                if (!text.empty()) break;
            }
        }
        if (ioPieces[i].trimAfter) {
            for (size_t j = i + 1; j < ioPieces.size() && ioPieces[j].kind == TemplateSegment::kText; ++j) {
                std::string& text = ioPieces[j].text;
                size_t keep = 0;
                while (keep < text.size() && IsSpace(text[keep])) ++keep;
                text.erase(0, keep);
                if (!text.empty()) break;
            }
        }
    }
}

std::vector<TemplateSegment> WhitespaceControl::JoinText(std::vector<TemplateSegment> iPieces)
{
    std::vector<TemplateSegment> segments;
    for (TemplateSegment& piece : iPieces) {
        if (piece.kind == TemplateSegment::kText) {
            if (piece.text.empty()) continue;
            if (!segments.empty() && segments.back().kind == TemplateSegment::kText) {
                segments.back().text += piece.text;
                continue;
            }
        }
        segments.push_back(std::move(piece));
    }
    return segments;
}
