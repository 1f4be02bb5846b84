#include "MarkerLine.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "CommentSyntax.h"
#include "MarkerWords.h"

namespace {

bool IsLineBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// A loop rather than find_first_of, which searches the set once per byte.
bool HasBlank(std::string_view iText)
{
    for (const char c : iText) {
        if (c == ' ' || c == '\t') return true;
    }
    return false;
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

// A place from iFrom on where the lower-case letter iLetter, or its
// capital, may begin the squeezed words' second letter: the first such
// letter where only eight bytes are compared at once; where SSE2 is (every
// x86-64), the first followed by a blank or by iNext in either case, as the
// words go on. Setting bit 5 lowers a capital.
size_t NextLetter(std::string_view iText, size_t iFrom, char iLetter, char iNext)
{
    size_t at = iFrom;
#if defined(__SSE2__)
    const __m128i lower = _mm_set1_epi8(0x20);
    const __m128i letter = _mm_set1_epi8(iLetter);
    const __m128i next = _mm_set1_epi8(iNext);
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i cr = _mm_set1_epi8('\r');
    // The letter alone is common in code (an "if" every line), the pair rare.
    for (; at + 17 <= iText.size(); at += 16) {
        const char* bytes = iText.data() + at;
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
        const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 1));
        const __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(after, space),
                                           _mm_or_si128(_mm_cmpeq_epi8(after, tab), _mm_cmpeq_epi8(after, cr)));
        const __m128i goesOn = _mm_or_si128(blank, _mm_cmpeq_epi8(_mm_or_si128(after, lower), next));
        const __m128i found = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(here, lower), letter), goesOn);
        const int mask = _mm_movemask_epi8(found);
        if (mask != 0) return at + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#elif defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    static_cast<void>(iNext);
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    const uint64_t letters = kOnes * static_cast<unsigned char>(iLetter);
    for (; at + 8 <= iText.size(); at += 8) {
        uint64_t word;
        std::memcpy(&word, iText.data() + at, sizeof word);
        const uint64_t other = (word | kOnes * 0x20) ^ letters;
        // Only the lowest byte flagged is sure to be the letter.
        const uint64_t found = (other - kOnes) & ~other & (kOnes * 0x80);
        if (found != 0) return at + static_cast<size_t>(__builtin_ctzll(found)) / 8;
    }
#else
    static_cast<void>(iNext);
#endif
    for (; at < iText.size(); ++at) {
        if ((iText[at] | 0x20) == iLetter) return at;
    }
    return std::string_view::npos;
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

// What a marker line of each known syntax reads as, made once: a reader
// meets a marker line per section, tens of thousands in a large file.
struct Forms {
    std::string begin;   // opener and begin words
    std::string closer;  // " " and the closer, or ""
    std::string end;     // the whole end line
    std::string squeezedOpener, squeezedBegin, squeezedEnd, squeezedCloser;
};

const std::vector<Forms>& FormsOfKnown()
{
    static const std::vector<Forms> forms = [] {
        const MarkerWords& words = MarkerWords::Get();
        std::vector<Forms> made;
        for (const CommentSyntax& syntax : CommentSyntax::Known()) {
            Forms form;
            form.closer = syntax.Closer().empty() ? std::string() : " " + syntax.Closer();
            form.begin = syntax.Opener() + words.begin;
            form.end = syntax.Opener() + words.end + form.closer;
            form.squeezedOpener = Squeezed(syntax.Opener());
            form.squeezedBegin = Squeezed(words.begin);
            form.squeezedEnd = Squeezed(words.end);
            form.squeezedCloser = Squeezed(syntax.Closer());
            made.push_back(std::move(form));
        }
        return made;
    }();
    return forms;
}

}  // namespace

size_t MarkerLine::FindWords(std::string_view iText, size_t iFrom)
{
    // Every marker has the words, and almost no other line does: finding
    // them is the reader's fast path over whole files. Their second letter,
    // rare in most text, is looked for first, in both cases in one pass: a
    // pass per case went to the end of the text for a case it lacks, at
    // every call, and a reader calls once per marker line.
    const char anchor = SqueezedWords()[1];
    const char next = SqueezedWords()[2];
    for (size_t at = NextLetter(iText, iFrom, anchor, next); at != std::string_view::npos;
         at = NextLetter(iText, at + 1, anchor, next)) {
        if (WordsAround(iText, at)) return at;
    }
    return std::string_view::npos;
}

MarkerLine MarkerLine::Read(std::string_view iLine)
{
    if (FindWords(iLine, 0) == std::string_view::npos) return MarkerLine();
    return ReadHolding(iLine);
}

MarkerLine MarkerLine::ReadHolding(std::string_view iLine)
{
    MarkerLine marker;
    const std::string_view line = Trimmed(iLine);
    const std::vector<Forms>& forms = FormsOfKnown();
    for (size_t i = 0; i < forms.size(); ++i) {
        const Forms& form = forms[i];
        if (StartsWith(line, form.begin)) {
            std::string_view rest = line.substr(form.begin.size());
            if (EndsWith(rest, form.closer)) {
                rest.remove_suffix(form.closer.size());
                const std::string_view key = Trimmed(rest);
                // "Begin of User Codes", "Begin of User Code a b": not as written.
                if ((rest.empty() || rest.front() == ' ') && !HasBlank(key)) {
                    marker.kind = Kind::kBegin;
                    marker.syntax = i;
                    marker.key = std::string(key);
                    return marker;
                }
            }
        }
        if (line == form.end) {
            marker.kind = Kind::kEnd;
            marker.syntax = i;
            return marker;
        }
        // Older files could end the user's text and the section on one line.
        if (i == 0 && EndsWith(line, form.end)) {
            marker.kind = Kind::kEnd;
            marker.syntax = i;
            marker.before = std::string(iLine.substr(0, iLine.rfind(form.end)));
            return marker;
        }
    }
    // The marker words right after an opener, followed by nothing, a key or
    // the closer: a marker someone changed by hand.
    const std::string squeezed = Squeezed(line);
    for (size_t i = 0; i < forms.size(); ++i) {
        const Forms& form = forms[i];
        if (!StartsWith(squeezed, form.squeezedOpener)) continue;
        const std::string_view rest = std::string_view(squeezed).substr(form.squeezedOpener.size());
        for (const std::string* kind : {&form.squeezedBegin, &form.squeezedEnd}) {
            if (!StartsWith(rest, *kind)) continue;
            const std::string_view tail = rest.substr(kind->size());
            if (tail.empty() || tail.front() == '/' || tail == form.squeezedCloser) {
                marker.kind = Kind::kDamaged;
                marker.syntax = i;
                return marker;
            }
        }
    }
    return marker;
}
