#include "JsonTextReader.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include <nlohmann/json.hpp>
#include <simdjson.h>

#include "JsonModelBuilder.h"
#include "JsonTextEvents.h"

namespace ondemand = simdjson::ondemand;

const std::size_t JsonTextReader::kPadding = simdjson::SIMDJSON_PADDING;

namespace {

std::string_view Trimmed(std::string_view iToken)
{
    while (!iToken.empty() &&
           (iToken.back() == ' ' || iToken.back() == '\t' || iToken.back() == '\n' || iToken.back() == '\r')) {
        iToken.remove_suffix(1);
    }
    return iToken;
}

// A text simdjson unescaped, as the careful reader would take it: no NUL
// (which it refuses) and no lone surrogate (simdjson writes one as bytes).
bool Acceptable(std::string_view iText)
{
    return std::memchr(iText.data(), '\0', iText.size()) == nullptr &&
           simdjson::validate_utf8(iText.data(), iText.size());
}

// The length of a string's bytes up to its closing quote, or npos when an
// escape comes first. Stage 1 has checked that the quote is there, and the
// padding lets eight bytes be read from anywhere in the text: they are
// looked at together (most names and values are shorter).
std::size_t PlainLength(const char* iText)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    for (std::size_t at = 0;; at += 8) {
        uint64_t word;
        std::memcpy(&word, iText + at, sizeof word);
        const uint64_t quote = word ^ (kOnes * '"');
        const uint64_t backslash = word ^ (kOnes * '\\');
        // The lowest byte flagged is the first quote or backslash; bytes
        // above it may be flagged wrongly, and are not looked at.
        const uint64_t found = (((quote - kOnes) & ~quote) | ((backslash - kOnes) & ~backslash)) & kHighs;
        if (found != 0) {
            at += static_cast<std::size_t>(__builtin_ctzll(found)) / 8;
            return iText[at] == '"' ? at : std::string_view::npos;
        }
    }
#else
    std::size_t length = 0;
    while (iText[length] != '"') {
        if (iText[length] == '\\') return std::string_view::npos;
        ++length;
    }
    return length;
#endif
}

// Walks the document in order, every value read and checked. Recursion is
// bounded: deeper documents go to the careful reader (simdjson itself only
// asserts its limit, 1,024).
template <class Builder>
class Walker {
public:
    static constexpr int kMaxNesting = 1000;

    explicit Walker(Builder& ioBuilder) : _builder(ioBuilder) {}

    bool Value(ondemand::value iValue)
    {
        ondemand::json_type type;
        if (iValue.type().get(type)) return false;
        switch (type) {
        case ondemand::json_type::array: return Array(iValue);
        case ondemand::json_type::object: return Object(iValue);
        case ondemand::json_type::string: return String(iValue);
        case ondemand::json_type::number: return Number(iValue);
        case ondemand::json_type::boolean: {
            bool value;
            if (iValue.get_bool().get(value)) return false;
            _builder.Boolean(value);
            return true;
        }
        case ondemand::json_type::null: {
            bool null;
            if (iValue.is_null().get(null) || !null) return false;
            _builder.Null();
            return true;
        }
        }
        return false;
    }

private:
    bool Array(ondemand::value iValue)
    {
        ondemand::array array;
        if (++_nesting > kMaxNesting || iValue.get_array().get(array)) return false;
        _builder.OpenArray();
        for (auto element : array) {
            ondemand::value value;
            if (element.get(value) || !Value(value)) return false;
        }
        --_nesting;
        return _builder.Close();
    }

    bool Object(ondemand::value iValue)
    {
        ondemand::object object;
        if (++_nesting > kMaxNesting || iValue.get_object().get(object)) return false;
        _builder.OpenObject();
        for (auto member : object) {
            ondemand::field field;
            if (std::move(member).get(field)) return false;
            const char* raw = reinterpret_cast<const char*>(field.key().raw());
            const std::size_t length = PlainLength(raw);
            std::string_view name(raw, length);
            if (length == std::string_view::npos && (field.unescaped_key().get(name) || !Acceptable(name))) {
                return false;
            }
            _builder.Key(name);
            if (!Value(field.value())) return false;
        }
        --_nesting;
        return _builder.Close();
    }

    // Every value is consumed through a get_ call: a value only looked at
    // is skipped without its neighbours being checked.
    bool String(ondemand::value iValue)
    {
        // The token starts at the opening quote.
        const char* bytes = iValue.raw_json_token().data() + 1;
        std::string_view text(bytes, PlainLength(bytes));
        if (text.size() == std::string_view::npos) {
            if (iValue.get_string().get(text) || !Acceptable(text)) return false;
        } else {
            ondemand::raw_json_string raw;
            if (iValue.get_raw_json_string().get(raw)) return false;
        }
        _builder.String(text);
        return true;
    }

    // The number as the careful reader writes it back (nlohmann/json's
    // dump): integers in 64 bits as their digits ("-0" is 0), others as the
    // shortest text of the nearest double, with ".0" when it looks whole.
    // What needs more than 64 bits goes to that reader.
    bool Number(ondemand::value iValue)
    {
        const std::string_view token = Trimmed(iValue.raw_json_token());
        char digits[24];
        char* end = digits;
        if (token.find_first_of(".eE") != std::string_view::npos) {
            double value;
            if (iValue.get_double().get(value)) return false;
            _builder.Number(nlohmann::json(value).dump());
            return true;
        }
        if (token[0] == '-') {
            int64_t value;
            if (iValue.get_int64().get(value)) return false;
            end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        } else {
            uint64_t value;
            if (iValue.get_uint64().get(value)) return false;
            end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        }
        _builder.Number(std::string_view(digits, end - digits));
        return true;
    }

    Builder& _builder;
    int _nesting = 0;
};

template <class Builder>
bool Walk(const char* iText, std::size_t iSize, std::size_t iCapacity, Builder& ioBuilder)
{
    ondemand::parser parser;
    ondemand::document document;
    if (parser.iterate(iText, iSize, iCapacity).get(document)) return false;
    bool scalar;
    ondemand::value root;
    if (document.is_scalar().get(scalar) || scalar || document.get_value().get(root)) return false;
    if (!Walker<Builder>(ioBuilder).Value(root)) return false;
    // Anything after the root value is an error.
    return document.current_location().error() == simdjson::OUT_OF_BOUNDS;
}

}  // namespace

bool JsonTextReader::Read(const char* iText, std::size_t iSize, std::size_t iCapacity, JsonModelBuilder& ioBuilder)
{
    return Walk(iText, iSize, iCapacity, ioBuilder);
}

bool JsonTextReader::Read(const char* iText, std::size_t iSize, std::size_t iCapacity, JsonTextEvents& ioEvents)
{
    return Walk(iText, iSize, iCapacity, ioEvents);
}
