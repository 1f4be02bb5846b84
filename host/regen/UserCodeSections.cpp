#include "UserCodeSections.h"

#include <algorithm>
#include <string_view>

#include "CommentSyntax.h"
#include "MarkerLine.h"

bool UserCodeSections::Read(std::string_view iText, int& oLine, std::string& oError)
{
    _sections.clear();
    bool open = false;
    size_t textStart = 0;
    Section section;
    int lastEndLine = 0;
    int line = 1;
    for (size_t start = 0; start < iText.size(); ++line) {
        // Straight on to the next line that holds the marker words: the
        // lines between are text, however many there are.
        const size_t words = MarkerLine::FindWords(iText, start);
        if (words == std::string_view::npos) break;
        const size_t lineStart = iText.rfind('\n', words);
        if (lineStart != std::string_view::npos && lineStart >= start) {
            line += static_cast<int>(std::count(iText.begin() + static_cast<std::ptrdiff_t>(start),
                                                iText.begin() + static_cast<std::ptrdiff_t>(lineStart) + 1, '\n'));
            start = lineStart + 1;
        }
        size_t end = iText.find('\n', start);
        const size_t next = end == std::string::npos ? iText.size() : end + 1;
        if (end == std::string::npos) end = iText.size();
        MarkerLine marker = MarkerLine::ReadHolding(iText.substr(start, end - start));
        oLine = line;
        switch (marker.kind) {
        case MarkerLine::Kind::kNone: break;
        case MarkerLine::Kind::kDamaged:
            oError = "this line looks like a user-code marker changed by hand; write it as mttgen does (\"" +
                     CommentSyntax::Known()[marker.syntax].BeginLine("KEY") + "\" or \"" +
                     CommentSyntax::Known()[marker.syntax].EndLine() + "\"), or reword it";
            return false;
        case MarkerLine::Kind::kBegin:
            if (open) {
                oError = "a \"Begin of User Code\" line inside the section opened at line " +
                         std::to_string(section.beginLine);
                return false;
            }
            open = true;
            section = Section{std::move(marker.key), std::string(), line, 0, marker.syntax};
            textStart = next;
            break;
        case MarkerLine::Kind::kEnd:
            if (!open) {
                oError = "an \"End of User Code\" line outside any section";
                if (lastEndLine > 0)
                    oError += " (the section before it ended at line " + std::to_string(lastEndLine) + ")";
                return false;
            }
            if (marker.syntax != section.syntax) {
                oError = "the section opened at line " + std::to_string(section.beginLine) + " with '" +
                         CommentSyntax::Known()[section.syntax].Opener() + "' is closed with '" +
                         CommentSyntax::Known()[marker.syntax].Opener() + "'";
                return false;
            }
            open = false;
            section.text.assign(iText.substr(textStart, start - textStart));
            section.text += marker.before;
            section.endLine = line;
            lastEndLine = line;
            _sections.push_back(std::move(section));
            break;
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

bool UserCodeSections::AnyNotIn(size_t iSyntax) const
{
    for (const Section& section : _sections) {
        if (section.syntax != iSyntax) return true;
    }
    return false;
}
