#ifndef SOURCETEXT_H
#define SOURCETEXT_H

#include <cstddef>
#include <string>

// The template being parsed, with the name used in messages. Positions are
// kept as byte offsets everywhere; lines and columns are only worked out
// when a message is written, so the common (error-free) path never counts
// lines.
class SourceText {
public:
    // "-" stands for the standard input and is shown as "<stdin>".
    SourceText(const std::string& iFileName, const std::string& iText);

    const std::string& Text() const { return _text; }
    size_t Size() const { return _text.size(); }

    // 1-based line and column of a byte offset; the column counts bytes.
    // An offset at or past the end names the position after the last byte.
    void LineColumn(size_t iOffset, int& oLine, int& oColumn) const;
    // "LINE:COLUMN".
    std::string Where(size_t iOffset) const;
    // "FILE:LINE:COLUMN: error: WHAT\n".
    std::string Message(size_t iOffset, const std::string& iWhat) const;

private:
    std::string _name;
    const std::string& _text;
};

#endif
