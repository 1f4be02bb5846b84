#ifndef YAMLSCALAR_H
#define YAMLSCALAR_H

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

class JsonTextEvents;

// What a YAML scalar is as a JSON value, by the core schema of YAML 1.2:
// untagged plain scalars are null (~, null, Null, NULL, nothing), booleans
// (true, True, TRUE and the same for false), integers (123, -4, +5, 0o17,
// 0x1F) or floats (1.5, -.5, 6e3); everything else is a string, and so is
// every quoted or block scalar. yes, no, on and off are strings. Numbers
// become the JSON numbers they denote, so a model reads them as JSON would
// write them (0x1F reads 31, 1e3 reads 1000.0).
class YamlScalar {
public:
    enum class Type { kNull, kBool, kInt, kFloat, kString };
    // What the core tags begin with: !!int is tag:yaml.org,2002:int.
    static constexpr char kCoreTag[] = "tag:yaml.org,2002:";

    // The type an untagged plain scalar has.
    static Type Resolve(std::string_view iText);
    // Whether Resolve would say a string, told inline for most scalars from
    // their first byte and, where that may begin null, true or false, their
    // length and first four letters; false leaves it to Resolve.
    static bool SurelyString(std::string_view iText)
    {
        if (iText.empty()) return false;
        const unsigned char first = static_cast<unsigned char>(iText[0]);
        // Below 'A': digits, signs, points and other marks; '~' is null.
        if (first < 'A' || first == '~') return false;
        const unsigned char lower = first | 0x20;
        if (lower != 'n' && lower != 't' && lower != 'f') return true;
        const std::size_t size = lower == 'f' ? 5 : 4;
        if (iText.size() != size) return true;
        uint32_t four;
        std::memcpy(&four, iText.data(), sizeof four);
        // The four letters in lower case (other bytes change too, and then
        // match no word).
        four |= 0x20202020u;
        uint32_t word;
        std::memcpy(&word, lower == 'n' ? "null" : lower == 't' ? "true" : "fals", sizeof word);
        return four != word;
    }
    // The type a scalar tag asks for: !!str, !!int, !!float, !!bool, !!null
    // (in their full form, tag:yaml.org,2002:...) and "!", a string. False
    // for any other tag.
    static bool TypeOfTag(const std::string& iTag, Type& oType);
    // iText as a value of iType. False with oProblem (what is wrong with the
    // text, to follow it in a message) when it is not one, or no JSON
    // number can hold it (.inf, .nan, a number out of range).
    static bool Convert(std::string_view iText, Type iType, nlohmann::json& oValue, std::string& oProblem);

    // The kind of JSON value a scalar of iType is, and a number's text as
    // JSON writes it (oNumber). A string takes no conversion. False with
    // oProblem as for Convert.
    enum class Kind { kNull, kTrue, kFalse, kNumber, kString };
    static bool KindOf(std::string_view iText, Type iType, Kind& oKind, std::string& oNumber, std::string& oProblem);
    // Reports an untagged scalar (iPlain: a plain one, else a quoted or
    // block one, a string) to ioEvents as the value it is; ioNumber holds
    // a number's text meanwhile. False as KindOf.
    static bool Report(std::string_view iText, bool iPlain, JsonTextEvents& ioEvents, std::string& ioNumber,
                       std::string& oProblem);
};

#endif
