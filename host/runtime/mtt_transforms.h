#ifndef MTT_TRANSFORMS_H
#define MTT_TRANSFORMS_H

// The value transforms of `${name|snake}` and `${note|replace("|", "\|")}`:
// the one table that the JSON model (immediate evaluation) and generated
// programs (late evaluation) both use, so that the two modes give the same
// texts. Header-only, C++17, standard library only. docs/transforms.md
// describes every entry with an example.
//
// Texts are bytes. Case changes touch ASCII letters only; bytes >= 0x80
// (UTF-8 sequences) are kept as they are, except by `java`, which writes
// them as \uXXXX.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mtt_transform_escapes.h"
#include "mtt_transform_values.h"
#include "mtt_transform_words.h"
#include "mtt_value.h"

namespace mtt_runtime {

// One entry of the table: the name users write after "|", its parameters,
// and what it does.
struct Transform {
    const char* name;
    // One letter per parameter, those after a '?' optional:
    //   t  a text          T  a text that is not empty
    //   w  a width, a whole number from 0 to kMaxWidth
    //   n  a length, a whole number from 0
    //   v  any value (its kind is kept)
    const char* parameters;
    // A transform of the text alone (its result is a text), or null ...
    std::string (*text)(std::string_view iText);
    // ... and then this one, given arguments that fit the parameters.
    Value (*value)(Value iValue, const std::vector<Value>& iArguments);
};

// The widest indentation, so that no argument can make a text explode.
inline constexpr std::int64_t kMaxWidth = 1000;

// Every transform, by the name users write.
inline constexpr Transform kTransforms[] = {
    {"upper", "", TransformWords::UpperText, nullptr},
    {"lower", "", TransformWords::LowerText, nullptr},
    {"capitalize", "", TransformWords::Capitalize, nullptr},
    {"camel", "", TransformWords::Camel, nullptr},
    {"pascal", "", TransformWords::Pascal, nullptr},
    {"snake", "", TransformWords::Snake, nullptr},
    {"kebab", "", TransformWords::Kebab, nullptr},
    {"screaming", "", TransformWords::Screaming, nullptr},
    {"trim", "", TransformWords::Trim, nullptr},
    {"c", "", TransformEscapes::C, nullptr},
    {"java", "", TransformEscapes::Java, nullptr},
    {"json", "", TransformEscapes::Json, nullptr},
    {"xml", "", TransformEscapes::Xml, nullptr},
    {"xmlattr", "", TransformEscapes::XmlAttribute, nullptr},
    {"sql", "", TransformEscapes::Sql, nullptr},
    {"shell", "", TransformEscapes::Shell, nullptr},
    {"replace", "Tt", nullptr, TransformValues::Replace},
    {"indent", "w", nullptr, TransformValues::Indent},
    {"prefix", "t", nullptr, TransformValues::Prefix},
    {"truncate", "n?t", nullptr, TransformValues::Truncate},
    {"default", "v", nullptr, TransformValues::Default},
    {"jsonvalue", "", nullptr, TransformValues::JsonValue},
    {"yaml", "", nullptr, TransformValues::Yaml},
};

// The entry named iName, or null.
inline const Transform* FindTransform(std::string_view iName)
{
    for (const Transform& transform : kTransforms) {
        if (iName == transform.name) return &transform;
    }
    return nullptr;
}

// Why iCount arguments cannot be given to iTransform ("" when they can).
inline std::string CheckArgumentCount(const Transform& iTransform, std::size_t iCount)
{
    const std::string_view parameters = iTransform.parameters;
    const std::size_t optional = parameters.find('?');
    const std::size_t most = parameters.size() - (optional == std::string_view::npos ? 0 : 1);
    const std::size_t least = optional == std::string_view::npos ? most : optional;
    if (iCount >= least && iCount <= most) return std::string();
    auto count = [](std::size_t n) { return std::to_string(n) + (n == 1 ? " argument" : " arguments"); };
    const std::string expected = most == 0       ? std::string("no arguments")
                                 : least == most ? count(most)
                                                 : std::to_string(least) + " or " + count(most);
    return "'" + std::string(iTransform.name) + "' takes " + expected + ", found " + std::to_string(iCount);
}

// Why iArgument cannot be argument iIndex (from 0) of iTransform ("" when
// it can). The count has been checked.
inline std::string CheckArgument(const Transform& iTransform, std::size_t iIndex, const Value& iArgument)
{
    std::string_view parameters = iTransform.parameters;
    const std::size_t optional = parameters.find('?');
    const char kind = parameters[iIndex < optional ? iIndex : iIndex + 1];
    std::int64_t number = 0;
    const bool whole = Value::ReadWhole(iArgument.Str(), number) == Value::Whole::kYes && number >= 0;
    const char* wanted = nullptr;
    if (kind == 'T' && iArgument.Str().empty()) wanted = "a text that is not empty";
    std::string widths = "a whole number from 0 to " + std::to_string(kMaxWidth);
    if (kind == 'w' && (!whole || number > kMaxWidth)) wanted = widths.c_str();
    if (kind == 'n' && !whole) wanted = "a whole number from 0";
    if (wanted == nullptr) return std::string();
    return "argument " + std::to_string(iIndex + 1) + " of '" + iTransform.name + "' must be " + wanted + ", found \"" +
           iArgument.Str() + "\"";
}

// iValue through iTransform with checked arguments.
inline Value ApplyTransform(const Transform& iTransform, Value iValue, const std::vector<Value>& iArguments)
{
    if (iTransform.text != nullptr) return Value::Text(iTransform.text(iValue.Str()));
    return iTransform.value(std::move(iValue), iArguments);
}

}  // namespace mtt_runtime

#endif
