#ifndef MTT_VALUE_H
#define MTT_VALUE_H

// A model value as expressions and transforms see it: its text, and the kind
// of JSON value it came from, which decides its truth, and how yaml and
// jsonvalue write it. Header-only, C++17, standard library only.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

namespace mtt_runtime {

class Value {
public:
    // kNull: null, a missing member, or no value at all (a loop value of an
    // object outside a list). Lists and objects read as the empty text.
    enum Kind { kNull, kText, kNumber, kBoolean, kList, kObject };

    // Whether a text reads as a whole number: an optional "-" and decimal
    // digits, within 64 bits.
    enum class Whole { kNo, kYes, kOutOfRange };

    Value() = default;
    Value(Kind iKind, std::string iText, std::size_t iSize = 0) : _kind(iKind), _text(std::move(iText)), _size(iSize) {}

    static Value Text(std::string iText) { return Value(kText, std::move(iText)); }
    static Value Number(std::int64_t iNumber) { return Value(kNumber, std::to_string(iNumber)); }
    static Value Boolean(bool iValue) { return Value(kBoolean, iValue ? "true" : "false"); }

    Kind GetKind() const { return _kind; }
    const std::string& Str() const { return _text; }
    // The number of elements of a list; 0 for any other kind.
    std::size_t Size() const { return _size; }
    std::string Take() { return std::move(_text); }

    // False for null and missing values, false, the empty text and the empty
    // list; true for everything else (numbers, 0 included).
    bool Truth() const
    {
        switch (_kind) {
        case kNull: return false;
        case kBoolean: return _text == "true";
        case kText: return !_text.empty();
        case kList: return _size > 0;
        default: return true;
        }
    }

    static Whole ReadWhole(std::string_view iText, std::int64_t& oNumber)
    {
        const bool negative = !iText.empty() && iText[0] == '-';
        const std::size_t first = negative ? 1 : 0;
        if (first == iText.size()) return Whole::kNo;
        // Magnitudes up to 2^63, the most negative number's.
        const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;
        std::uint64_t magnitude = 0;
        bool over = false;
        for (std::size_t i = first; i < iText.size(); ++i) {
            const char c = iText[i];
            if (c < '0' || c > '9') return Whole::kNo;
            const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
            if (over || magnitude > (limit - digit) / 10) {
                over = true;
                continue;
            }
            magnitude = magnitude * 10 + digit;
        }
        if (over || (!negative && magnitude == limit)) return Whole::kOutOfRange;
        oNumber = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
        return Whole::kYes;
    }

private:
    Kind _kind = kNull;
    std::string _text;
    std::size_t _size = 0;  // of a list
};

}  // namespace mtt_runtime

#endif
