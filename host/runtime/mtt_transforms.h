#ifndef MTT_TRANSFORMS_H
#define MTT_TRANSFORMS_H

// The value transforms of `${name|snake}`: the one table that the JSON model
// (immediate evaluation) and generated programs (late evaluation) both use,
// so that the two modes give the same texts. Header-only, C++17, standard
// library only. docs/transforms.md describes every entry with an example.
//
// Texts are bytes. Case changes touch ASCII letters only; bytes >= 0x80
// (UTF-8 sequences) are kept as they are, except by `java`, which writes
// them as \uXXXX.

#include <string>
#include <string_view>

#include "mtt_transform_escapes.h"
#include "mtt_transform_words.h"

namespace mtt_runtime {

// One entry of the table: the name users write after "|" and what it does
// to a text.
struct Transform {
    const char* name;
    std::string (*apply)(std::string_view iText);
};

// Every transform, by the name users write.
inline constexpr Transform kTransforms[] = {
    {"upper", TransformWords::UpperText},
    {"lower", TransformWords::LowerText},
    {"capitalize", TransformWords::Capitalize},
    {"camel", TransformWords::Camel},
    {"pascal", TransformWords::Pascal},
    {"snake", TransformWords::Snake},
    {"kebab", TransformWords::Kebab},
    {"screaming", TransformWords::Screaming},
    {"trim", TransformWords::Trim},
    {"c", TransformEscapes::C},
    {"java", TransformEscapes::Java},
    {"json", TransformEscapes::Json},
    {"xml", TransformEscapes::Xml},
    {"xmlattr", TransformEscapes::XmlAttribute},
    {"sql", TransformEscapes::Sql},
    {"shell", TransformEscapes::Shell},
};

// The entry named iName, or null.
inline const Transform* FindTransform(std::string_view iName)
{
    for (const Transform& transform : kTransforms) {
        if (iName == transform.name) return &transform;
    }
    return nullptr;
}

}  // namespace mtt_runtime

#endif
