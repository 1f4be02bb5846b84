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

// The marker words every marker has (" of User Code"), lower case and
// without blanks: damaged markers still hold them in this form.
const std::string& SqueezedWords()
{
    static const std::string words = Squeezed(MarkerWords::Get().common);
    return words;
}

// Whether the squeezed words are spelt around iText[iAnchor], which holds
// their second letter, in any case and with blanks between the letters.
// ASCII letters only, so setting bit 5 lowers the case.
bool WordsAround(std::string_view iText, size_t iAnchor)
{
    const std::string& words = SqueezedWords();
    size_t before = iAnchor;
    while (before > 0 && IsLineBlank(iText[before - 1])) --before;
    if (before == 0 || (iText[before - 1] | 0x20) != words[0]) return false;
    size_t matched = 2;
    for (size_t i = iAnchor + 1; i < iText.size() && matched < words.size(); ++i) {
        if (IsLineBlank(iText[i])) continue;
        if ((iText[i] | 0x20) != words[matched]) return false;
        ++matched;
    }
    return matched == words.size();
}

}  // namespace

size_t MarkerLine::FindWords(std::string_view iText, size_t iFrom)
{
    // Every marker has the words, and almost no other line does: finding
    // them is the reader's fast path over whole files. Their second letter
    // is looked for with memchr in both cases, as it is rare in most text.
    const char lower = SqueezedWords()[1];
    const char upper = static_cast<char>(lower & ~0x20);
    size_t nextLower = iText.find(lower, iFrom), nextUpper = iText.find(upper, iFrom);
    while (nextLower != std::string_view::npos || nextUpper != std::string_view::npos) {
        const bool takeLower =
            nextUpper == std::string_view::npos || (nextLower != std::string_view::npos && nextLower < nextUpper);
        const size_t at = takeLower ? nextLower : nextUpper;
        if (WordsAround(iText, at)) return at;
        if (takeLower)
            nextLower = iText.find(lower, at + 1);
        else
            nextUpper = iText.find(upper, at + 1);
    }
    return std::string_view::npos;
}

MarkerLine MarkerLine::Read(std::string_view iLine)
{
    MarkerLine marker;
    if (FindWords(iLine, 0) == std::string_view::npos) return marker;
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
