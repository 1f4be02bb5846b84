#include "UserCodeSections.h"

bool UserCodeSections::Read(const std::string& iText, const CommentSyntax& iSyntax, int& oLine, std::string& oError)
{
    _sections.clear();
    bool open = false;
    size_t textStart = 0;
    Section section{};
    int lastEndLine = 0;
    int line = 1;
    std::string key;
    std::string before;
    for (size_t start = 0; start < iText.size(); ++line) {
        size_t end = iText.find('\n', start);
        const size_t next = end == std::string::npos ? iText.size() : end + 1;
        if (end == std::string::npos) end = iText.size();
        const CommentSyntax::Marker marker =
            iSyntax.Read(std::string_view(iText).substr(start, end - start), key, before);
        if (marker == CommentSyntax::Marker::kBegin) {
            if (open) {
                oLine = line;
                oError = "a \"Begin of User Code\" line inside the section opened at line " +
                         std::to_string(section.beginLine);
                return false;
            }
            open = true;
            section = Section{key, std::string(), line, 0};
            textStart = next;
        } else if (marker == CommentSyntax::Marker::kEnd) {
            if (!open) {
                oLine = line;
                oError = "an \"End of User Code\" line outside any section";
                if (lastEndLine > 0)
                    oError += " (the section before it ended at line " + std::to_string(lastEndLine) + ")";
                return false;
            }
            open = false;
            section.text = iText.substr(textStart, start - textStart) + before;
            section.endLine = line;
            lastEndLine = line;
            _sections.push_back(std::move(section));
        }
        start = next;
    }
    if (open) {
        oLine = section.beginLine;
        oError = "user-code section not closed by an \"End of User Code\" line";
        return false;
    }
    return true;
}
