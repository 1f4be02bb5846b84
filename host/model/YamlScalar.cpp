#include "YamlScalar.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include <nlohmann/json.hpp>

#include "JsonTextEvents.h"

namespace {

bool IsOneOf(std::string_view iText, std::initializer_list<std::string_view> iWords)
{
    for (std::string_view word : iWords) {
        if (iText == word) return true;
    }
    return false;
}

// Whether iText is iWord; compared as a word of fixed size, without a call
// (names that begin as null, true or false do, such as "name" and "type").
template <std::size_t kSize>
bool IsWord(std::string_view iText, const char (&iWord)[kSize])
{
    return iText.size() == kSize - 1 && std::memcmp(iText.data(), iWord, kSize - 1) == 0;
}

bool IsDigit(char c, int iBase)
{
    if (iBase == 16) return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    return c >= '0' && c < static_cast<char>('0' + iBase);
}

// The number of digits of iBase at iText[ioAt...], ioAt moved past them.
size_t Digits(std::string_view iText, size_t& ioAt, int iBase = 10)
{
    const size_t from = ioAt;
    while (ioAt < iText.size() && IsDigit(iText[ioAt], iBase)) ++ioAt;
    return ioAt - from;
}

// 0o17 and 0x1F: the base, else 0.
int PrefixedBase(std::string_view iText)
{
    if (iText.size() < 3 || iText[0] != '0' || (iText[1] != 'o' && iText[1] != 'x')) return 0;
    const int base = iText[1] == 'o' ? 8 : 16;
    size_t at = 2;
    return Digits(iText, at, base) > 0 && at == iText.size() ? base : 0;
}

bool IsDecimalInteger(std::string_view iText)
{
    size_t at = !iText.empty() && (iText[0] == '-' || iText[0] == '+') ? 1 : 0;
    return Digits(iText, at) > 0 && at == iText.size();
}

// [-+]?(\.[0-9]+|[0-9]+(\.[0-9]*)?)([eE][-+]?[0-9]+)?
bool IsDecimalFloat(std::string_view iText)
{
    size_t at = !iText.empty() && (iText[0] == '-' || iText[0] == '+') ? 1 : 0;
    const size_t integer = Digits(iText, at);
    if (at < iText.size() && iText[at] == '.') {
        ++at;
        if (Digits(iText, at) == 0 && integer == 0) return false;
    } else if (integer == 0) {
        return false;
    }
    if (at < iText.size() && (iText[at] == 'e' || iText[at] == 'E')) {
        ++at;
        if (at < iText.size() && (iText[at] == '-' || iText[at] == '+')) ++at;
        if (Digits(iText, at) == 0) return false;
    }
    return at == iText.size();
}

bool IsSpecialFloat(std::string_view iText)
{
    if (!iText.empty() && (iText[0] == '-' || iText[0] == '+')) iText.remove_prefix(1);
    return IsOneOf(iText, {".inf", ".Inf", ".INF", ".nan", ".NaN", ".NAN"});
}

// A decimal number as JSON writes it (no "+", no leading zeros, digits on
// both sides of the point), a float when iFloat, so that the JSON reader
// gives it exactly the value and kind it gives JSON text.
std::string AsJsonNumber(std::string_view iText, bool iFloat)
{
    std::string json;
    size_t at = 0;
    if (iText[0] == '-' || iText[0] == '+') {
        if (iText[0] == '-') json += '-';
        ++at;
    }
    const size_t integerStart = at;
    Digits(iText, at);
    std::string_view integer = iText.substr(integerStart, at - integerStart);
    while (integer.size() > 1 && integer[0] == '0') integer.remove_prefix(1);
    json += integer.empty() ? std::string_view("0") : integer;
    bool fraction = false;
    if (at < iText.size() && iText[at] == '.') {
        const size_t digitsStart = ++at;
        Digits(iText, at);
        json += '.';
        json += at > digitsStart ? iText.substr(digitsStart, at - digitsStart) : std::string_view("0");
        fraction = true;
    }
    const bool exponent = at < iText.size();
    if (iFloat && !fraction && !exponent) json += ".0";
    json += iText.substr(at);
    return json;
}

}  // namespace

YamlScalar::Type YamlScalar::Resolve(std::string_view iText)
{
    // Numbers begin with a digit, a sign or a point, nulls and booleans
    // with one of a few characters: most strings are known at once.
    if (iText.empty()) return Type::kNull;
    switch (iText[0]) {
    case '~': return iText.size() == 1 ? Type::kNull : Type::kString;
    case 'n':
    case 'N':
        return IsWord(iText, "null") || IsWord(iText, "Null") || IsWord(iText, "NULL") ? Type::kNull : Type::kString;
    case 't':
    case 'T':
        return IsWord(iText, "true") || IsWord(iText, "True") || IsWord(iText, "TRUE") ? Type::kBool : Type::kString;
    case 'f':
    case 'F':
        return IsWord(iText, "false") || IsWord(iText, "False") || IsWord(iText, "FALSE") ? Type::kBool : Type::kString;
    case '+':
    case '-':
    case '.': break;
    default:
        if (iText[0] < '0' || iText[0] > '9') return Type::kString;
    }
    if (IsDecimalInteger(iText) || PrefixedBase(iText) != 0) return Type::kInt;
    if (IsDecimalFloat(iText) || IsSpecialFloat(iText)) return Type::kFloat;
    return Type::kString;
}

bool YamlScalar::TypeOfTag(const std::string& iTag, Type& oType)
{
    if (iTag == "!") {
        oType = Type::kString;
        return true;
    }
    const std::string core = kCoreTag;
    if (iTag.compare(0, core.size(), core) != 0) return false;
    const std::string name = iTag.substr(core.size());
    const char* const names[] = {"null", "bool", "int", "float", "str"};
    const Type types[] = {Type::kNull, Type::kBool, Type::kInt, Type::kFloat, Type::kString};
    for (int i = 0; i < 5; ++i) {
        if (name == names[i]) {
            oType = types[i];
            return true;
        }
    }
    return false;
}

bool YamlScalar::Convert(std::string_view iText, Type iType, nlohmann::json& oValue, std::string& oProblem)
{
    const Type resolved = Resolve(iText);
    switch (iType) {
    case Type::kString: oValue = std::string(iText); return true;
    case Type::kNull:
        if (resolved != Type::kNull) {
            oProblem = "is not null (~, null or nothing)";
            return false;
        }
        oValue = nullptr;
        return true;
    case Type::kBool:
        if (resolved != Type::kBool) {
            oProblem = "is not a boolean (true or false)";
            return false;
        }
        oValue = iText[0] == 't' || iText[0] == 'T';
        return true;
    case Type::kInt:
    case Type::kFloat: break;
    }
    if (IsSpecialFloat(iText) && iType == Type::kFloat) {
        oProblem = "has no JSON number (infinity and not-a-number have none): quote it to keep the text";
        return false;
    }
    if (const int base = PrefixedBase(iText)) {
        uint64_t value = 0;
        const std::from_chars_result read = std::from_chars(iText.data() + 2, iText.data() + iText.size(), value, base);
        if (read.ec != std::errc()) {
            oProblem = "is out of range (at most 64 bits)";
            return false;
        }
        oValue = value;
        if (iType == Type::kFloat) oValue = static_cast<double>(value);
        return true;
    }
    if (iType == Type::kInt ? !IsDecimalInteger(iText) : !IsDecimalFloat(iText)) {
        oProblem = iType == Type::kInt ? "is not an integer" : "is not a number";
        return false;
    }
    oValue = nlohmann::json::parse(AsJsonNumber(iText, iType == Type::kFloat), nullptr, false);
    if (oValue.is_discarded()) {
        oProblem = "is out of range";
        return false;
    }
    return true;
}

bool YamlScalar::KindOf(std::string_view iText, Type iType, Kind& oKind, std::string& oNumber, std::string& oProblem)
{
    if (iType == Type::kString) {
        oKind = Kind::kString;
        return true;
    }
    nlohmann::json value;
    if (!Convert(iText, iType, value, oProblem)) return false;
    switch (value.type()) {
    case nlohmann::json::value_t::null: oKind = Kind::kNull; break;
    case nlohmann::json::value_t::boolean: oKind = value.get<bool>() ? Kind::kTrue : Kind::kFalse; break;
    case nlohmann::json::value_t::string: oKind = Kind::kString; break;
    default:
        oKind = Kind::kNumber;
        oNumber = value.dump();
        break;
    }
    return true;
}

bool YamlScalar::Report(std::string_view iText, bool iPlain, JsonTextEvents& ioEvents, std::string& ioNumber,
                        std::string& oProblem)
{
    // Most scalars are strings, reported without a conversion.
    const Type type = iPlain ? Resolve(iText) : Type::kString;
    if (type == Type::kString) {
        ioEvents.String(iText);
        return true;
    }
    Kind kind;
    if (!KindOf(iText, type, kind, ioNumber, oProblem)) return false;
    switch (kind) {
    case Kind::kNull: ioEvents.Null(); break;
    case Kind::kTrue: ioEvents.Boolean(true); break;
    case Kind::kFalse: ioEvents.Boolean(false); break;
    case Kind::kNumber: ioEvents.Number(ioNumber); break;
    case Kind::kString: ioEvents.String(iText); break;
    }
    return true;
}
