#ifndef SOURCETEXT_H
#define SOURCETEXT_H

#include <cstddef>
#include <string>

// The text of one template file being parsed. Positions are kept as byte
// offsets everywhere; lines and columns are only worked out when a message
// is written, so the common (error-free) path never counts lines.
class SourceText {
public:
    explicit SourceText(const std::string& iText);

    // A blank within a line (space, tab), and any space between tokens.
    static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
    static bool IsSpace(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }

    const std::string& Text() const { return _text; }
    size_t Size() const { return _text.size(); }

    // 1-based line and column of a byte offset; the column counts bytes.
    // An offset at or past the end names the position after the last byte.
    void LineColumn(size_t iOffset, int& oLine, int& oColumn) const;
    // "LINE:COLUMN".
    std::string Where(size_t iOffset) const;

private:
    const std::string& _text;
};

#endif
