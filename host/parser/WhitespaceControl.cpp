#include "WhitespaceControl.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

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

std::vector<TemplateSegment> WhitespaceControl::Apply(std::vector<TemplateSegment> iSegments)
{
    std::vector<Piece> pieces = SplitLines(iSegments);
    RemoveStandaloneLines(iSegments, pieces);
    ApplyTrimMarkers(iSegments, pieces);
    return JoinText(iSegments, pieces);
}

// Cuts every text segment after each line feed, so that a line ends exactly
// at the end of a text piece.
std::vector<WhitespaceControl::Piece> WhitespaceControl::SplitLines(const std::vector<TemplateSegment>& iSegments)
{
    std::vector<Piece> pieces;
    pieces.reserve(iSegments.size() + iSegments.size() / 2);
    for (size_t index = 0; index < iSegments.size(); ++index) {
        const TemplateSegment& segment = iSegments[index];
        if (segment.kind != TemplateSegment::kText) {
            pieces.push_back(Piece{index, 0, 0});
            continue;
        }
        const std::string& text = segment.text;
        size_t start = 0;
        while (start < text.size()) {
            size_t lf = text.find('\n', start);
            size_t end = lf == std::string::npos ? text.size() : lf + 1;
            pieces.push_back(Piece{index, start, end});
            start = end;
        }
    }
    return pieces;
}

void WhitespaceControl::RemoveStandaloneLines(const std::vector<TemplateSegment>& iSegments,
                                              std::vector<Piece>& ioPieces)
{
    auto isText = [&](const Piece& iPiece) { return iSegments[iPiece.segment].kind == TemplateSegment::kText; };
    auto endsLine = [&](const Piece& iPiece) {
        return isText(iPiece) && iPiece.end > iPiece.begin && iSegments[iPiece.segment].text[iPiece.end - 1] == '\n';
    };

    size_t lineStart = 0;
    while (lineStart < ioPieces.size()) {
        size_t lineEnd = lineStart;  // one past the line's last piece
        while (lineEnd < ioPieces.size() && !endsLine(ioPieces[lineEnd])) ++lineEnd;
        if (lineEnd < ioPieces.size()) ++lineEnd;

        bool silent = false;
        bool standalone = true;
        for (size_t i = lineStart; i < lineEnd && standalone; ++i) {
            const Piece& piece = ioPieces[i];
            const TemplateSegment& segment = iSegments[piece.segment];
            if (segment.kind == TemplateSegment::kText) {
                standalone = IsBlankLinePiece(segment.text.data() + piece.begin, piece.end - piece.begin);
            } else if (segment.IsSilentDirective()) {
                silent = true;
            } else {
                standalone = false;
            }
        }
        if (silent && standalone) {
            for (size_t i = lineStart; i < lineEnd; ++i) {
                if (isText(ioPieces[i])) ioPieces[i].end = ioPieces[i].begin;
            }
        }
        lineStart = lineEnd;
    }
}

void WhitespaceControl::ApplyTrimMarkers(const std::vector<TemplateSegment>& iSegments, std::vector<Piece>& ioPieces)
{
    auto isText = [&](size_t iPiece) { return iSegments[ioPieces[iPiece].segment].kind == TemplateSegment::kText; };
    for (size_t i = 0; i < ioPieces.size(); ++i) {
        if (isText(i)) continue;
        const TemplateSegment& directive = iSegments[ioPieces[i].segment];
        if (directive.trimBefore) {
            for (size_t j = i; j-- > 0 && isText(j);) {
                Piece& piece = ioPieces[j];
                const std::string& text = iSegments[piece.segment].text;
                while (piece.end > piece.begin && IsSpace(text[piece.end - 1])) --piece.end;
                if (piece.end > piece.begin) break;
            }
        }
        if (directive.trimAfter) {
            for (size_t j = i + 1; j < ioPieces.size() && isText(j); ++j) {
                Piece& piece = ioPieces[j];
                const std::string& text = iSegments[piece.segment].text;
                while (piece.begin < piece.end && IsSpace(text[piece.begin])) ++piece.begin;
                if (piece.end > piece.begin) break;
            }
        }
    }
}

std::vector<TemplateSegment> WhitespaceControl::JoinText(std::vector<TemplateSegment>& ioSegments,
                                                         const std::vector<Piece>& iPieces)
{
    std::vector<TemplateSegment> segments;
    segments.reserve(ioSegments.size());
    for (const Piece& piece : iPieces) {
        TemplateSegment& segment = ioSegments[piece.segment];
        if (segment.kind != TemplateSegment::kText) {
            // Each delimited segment is one piece, so it can be moved.
            segments.push_back(std::move(segment));
            continue;
        }
        if (piece.end == piece.begin) continue;
        if (segments.empty() || segments.back().kind != TemplateSegment::kText) {
            segments.emplace_back();
            segments.back().offset = segment.offset;
        }
        segments.back().end = segment.end;
        segments.back().text.append(segment.text, piece.begin, piece.end - piece.begin);
    }
    return segments;
}
