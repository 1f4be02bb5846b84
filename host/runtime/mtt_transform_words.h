#ifndef MTT_TRANSFORM_WORDS_H
#define MTT_TRANSFORM_WORDS_H

// The transforms of mtt_transforms.h that shape names: word splitting,
// ASCII case changes and trimming. Header-only, C++17, standard library only.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mtt_runtime {

// Words, for camel, pascal, snake, kebab and screaming.
//
// Every ASCII byte that is not a letter or a digit separates words and is
// dropped ("_", "-", ".", blanks, "/", ...). Inside a run of letters and
// digits a word starts
//   - at an upper-case letter after a lower-case letter, a digit or a
//     non-ASCII byte ("fooBar" -> foo Bar, "utf8Name" -> utf8 Name), and
//   - at the last upper-case letter of a run of them when a lower-case letter
//     follows ("HTTPServer" -> HTTP Server).
// Digits never start a word of their own ("x86_64" -> x86 64, "HTTP2" stays
// one word). Bytes >= 0x80 are letters without case: they never split a word
// and no transform changes them.
class TransformWords {
public:
    static std::vector<std::string_view> Split(std::string_view iText)
    {
        std::vector<std::string_view> words;
        const std::size_t n = iText.size();
        std::size_t i = 0;
        while (i < n) {
            while (i < n && ClassOf(iText[i]) == kSeparator) ++i;
            if (i == n) break;
            const std::size_t start = i++;
            while (i < n && ClassOf(iText[i]) != kSeparator && !StartsWord(iText, i)) ++i;
            words.push_back(iText.substr(start, i - start));
        }
        return words;
    }

    static std::string UpperText(std::string_view iText)
    {
        std::string out(iText);
        for (char& c : out) c = Upper(c);
        return out;
    }

    static std::string LowerText(std::string_view iText)
    {
        std::string out(iText);
        for (char& c : out) c = Lower(c);
        return out;
    }

    // The first byte upper-cased, the rest unchanged.
    static std::string Capitalize(std::string_view iText)
    {
        std::string out(iText);
        if (!out.empty()) out[0] = Upper(out[0]);
        return out;
    }

    static std::string Camel(std::string_view iText) { return Join(iText, 0, false, kAllButFirst); }
    static std::string Pascal(std::string_view iText) { return Join(iText, 0, false, kAll); }
    static std::string Snake(std::string_view iText) { return Join(iText, '_', false, kNone); }
    static std::string Kebab(std::string_view iText) { return Join(iText, '-', false, kNone); }
    static std::string Screaming(std::string_view iText) { return Join(iText, '_', true, kNone); }

    // Without leading and trailing blanks, tabs and line ends.
    static std::string Trim(std::string_view iText)
    {
        const char* const blanks = " \t\n\r\f\v";
        const std::size_t first = iText.find_first_not_of(blanks);
        if (first == std::string_view::npos) return std::string();
        return std::string(iText.substr(first, iText.find_last_not_of(blanks) - first + 1));
    }

private:
    enum Class { kSeparator, kUpper, kLower, kDigit, kOther };
    enum Capitals { kNone, kAll, kAllButFirst };

    static char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
    static char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

    static Class ClassOf(char c)
    {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b >= 0x80) return kOther;
        if (b >= 'A' && b <= 'Z') return kUpper;
        if (b >= 'a' && b <= 'z') return kLower;
        if (b >= '0' && b <= '9') return kDigit;
        return kSeparator;
    }

    // Whether the byte at i (not the first of its run) starts a new word.
    static bool StartsWord(std::string_view iText, std::size_t i)
    {
        if (ClassOf(iText[i]) != kUpper) return false;
        const Class before = ClassOf(iText[i - 1]);
        if (before == kLower || before == kDigit || before == kOther) return true;
        return before == kUpper && i + 1 < iText.size() && ClassOf(iText[i + 1]) == kLower;
    }

    // The words joined by iSeparator (0: none), each in one case, and the
    // first byte of the words that iCapitals names upper-cased.
    static std::string Join(std::string_view iText, char iSeparator, bool iUpper, Capitals iCapitals)
    {
        std::string out;
        out.reserve(iText.size());
        bool first = true;
        for (std::string_view word : Split(iText)) {
            if (!first && iSeparator != 0) out += iSeparator;
            const std::size_t start = out.size();
            for (char c : word) out += iUpper ? Upper(c) : Lower(c);
            if (iCapitals == kAll || (iCapitals == kAllButFirst && !first)) out[start] = Upper(out[start]);
            first = false;
        }
        return out;
    }
};

}  // namespace mtt_runtime

#endif
