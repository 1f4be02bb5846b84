#include "SourceText.h"

SourceText::SourceText(const std::string& iText) : _text(iText) {}

void SourceText::LineColumn(size_t iOffset, int& oLine, int& oColumn) const
{
    if (iOffset > _text.size()) iOffset = _text.size();
    int line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < iOffset; ++i) {
        if (_text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    oLine = line;
    oColumn = static_cast<int>(iOffset - lineStart) + 1;
}

std::string SourceText::Where(size_t iOffset) const
{
    int line = 0;
    int column = 0;
    LineColumn(iOffset, line, column);
    return std::to_string(line) + ":" + std::to_string(column);
}
