#include "MarkerLine.h"

#include <cctype>

#include "CommentSyntax.h"
#include "MarkerWords.h"

namespace {

bool IsLineBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trimmed(std::string_view iText)
{
    while (!iText.empty() && IsLineBlank(iText.front())) iText.remove_prefix(1);
    while (!iText.empty() && IsLineBlank(iText.back())) iText.remove_suffix(1);
    return iText;
}

bool StartsWith(std::string_view iText, std::string_view iPrefix)
{
    return iText.substr(0, iPrefix.size()) == iPrefix;
}

bool EndsWith(std::string_view iText, std::string_view iSuffix)
{
    return iText.size() >= iSuffix.size() && iText.substr(iText.size() - iSuffix.size()) == iSuffix;
}

// Lower case, blanks dropped: the form in which a damaged marker still
// reads as one.
std::string Squeezed(std::string_view iText)
{
    std::string squeezed;
    for (const char c : iText) {
        if (!IsLineBlank(c)) squeezed += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return squeezed;
}

// Whether the line mentions the marker words at all, in any case: almost
// no line of a file does, so this is tested first.
bool MentionsCode(std::string_view iLine)
{
    // ASCII letters only, so setting bit 5 lowers the case; no locale call
    // per byte, as every line of every regenerated file passes here.
    for (size_t i = 0; i + 4 <= iLine.size(); ++i) {
        if ((iLine[i] | 0x20) == 'c' && (iLine[i + 1] | 0x20) == 'o' && (iLine[i + 2] | 0x20) == 'd' &&
            (iLine[i + 3] | 0x20) == 'e')
            return true;
    }
    return false;
}

}  // namespace

MarkerLine MarkerLine::Read(std::string_view iLine)
{
    MarkerLine marker;
    if (!MentionsCode(iLine)) return marker;
    const std::string_view line = Trimmed(iLine);
    const MarkerWords& words = MarkerWords::Get();
    const std::vector<CommentSyntax>& known = CommentSyntax::Known();
    for (size_t i = 0; i < known.size(); ++i) {
        const CommentSyntax& syntax = known[i];
        const std::string closer = syntax.Closer().empty() ? std::string() : " " + syntax.Closer();
        const std::string begin = syntax.Opener() + words.begin;
        if (StartsWith(line, begin)) {
            std::string_view rest = line.substr(begin.size());
            if (EndsWith(rest, closer)) {
                rest.remove_suffix(closer.size());
                const std::string_view key = Trimmed(rest);
                // "Begin of User Codes", "Begin of User Code a b": not as written.
                if ((rest.empty() || rest.front() == ' ') && key.find_first_of(" \t") == std::string_view::npos) {
                    marker.kind = Kind::kBegin;
                    marker.syntax = i;
                    marker.key = std::string(key);
                    return marker;
                }
            }
        }
        const std::string end = syntax.Opener() + words.end + closer;
        if (line == end) {
            marker.kind = Kind::kEnd;
            marker.syntax = i;
            return marker;
        }
        // Older files could end the user's text and the section on one line.
        if (i == 0 && EndsWith(line, end)) {
            marker.kind = Kind::kEnd;
            marker.syntax = i;
            marker.before = std::string(iLine.substr(0, iLine.rfind(end)));
            return marker;
        }
    }
    // The marker words right after an opener, followed by nothing, a key or
    // the closer: a marker someone changed by hand.
    const std::string squeezed = Squeezed(line);
    for (size_t i = 0; i < known.size(); ++i) {
        const std::string opener = Squeezed(known[i].Opener());
        if (!StartsWith(squeezed, opener)) continue;
        const std::string_view rest = std::string_view(squeezed).substr(opener.size());
        for (const std::string& kind : {Squeezed(words.begin), Squeezed(words.end)}) {
            if (!StartsWith(rest, kind)) continue;
            const std::string_view tail = rest.substr(kind.size());
            if (tail.empty() || tail.front() == '/' || tail == Squeezed(known[i].Closer())) {
                marker.kind = Kind::kDamaged;
                marker.syntax = i;
                return marker;
            }
        }
    }
    return marker;
}
