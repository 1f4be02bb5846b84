#ifndef MTT_TRANSFORM_VALUES_H
#define MTT_TRANSFORM_VALUES_H

// The transforms of mtt_transforms.h that take arguments or look at the kind
// of value (mtt_value.h), not only its text. Their arguments have been
// checked against the table's parameters. Header-only, C++17, standard
// library only.

#include <string>
#include <utility>
#include <vector>

#include "mtt_transform_escapes.h"
#include "mtt_transform_texts.h"
#include "mtt_value.h"

namespace mtt_runtime {

class TransformValues {
public:
    using Arguments = std::vector<Value>;

    static Value Replace(Value iValue, const Arguments& iArguments)
    {
        return Value::Text(TransformTexts::Replace(iValue.Str(), iArguments[0].Str(), iArguments[1].Str()));
    }

    static Value Indent(Value iValue, const Arguments& iArguments)
    {
        return Value::Text(TransformTexts::Prefix(iValue.Str(), std::string(Count(iArguments[0]), ' ')));
    }

    static Value Prefix(Value iValue, const Arguments& iArguments)
    {
        return Value::Text(TransformTexts::Prefix(iValue.Str(), iArguments[0].Str()));
    }

    static Value Truncate(Value iValue, const Arguments& iArguments)
    {
        const std::string marker = iArguments.size() > 1 ? iArguments[1].Str() : std::string();
        return Value::Text(TransformTexts::Truncate(iValue.Str(), Count(iArguments[0]), marker));
    }

    // The argument, with its kind, when the text is empty.
    static Value Default(Value iValue, const Arguments& iArguments)
    {
        return iValue.Str().empty() ? iArguments[0] : std::move(iValue);
    }

    // Numbers and booleans as they are, no value as null, texts quoted.
    static Value JsonValue(Value iValue, const Arguments&)
    {
        return Value::Text(Literal(iValue, "null", [](const std::string& iText) {
            return "\"" + TransformEscapes::Json(iText) + "\"";
        }));
    }

    static Value Yaml(Value iValue, const Arguments&)
    {
        return Value::Text(
            Literal(iValue, "null", [](const std::string& iText) { return TransformEscapes::Yaml(iText); }));
    }

private:
    // A checked count argument.
    static std::size_t Count(const Value& iArgument)
    {
        std::int64_t number = 0;
        Value::ReadWhole(iArgument.Str(), number);
        return static_cast<std::size_t>(number);
    }

    template <class Quote>
    static std::string Literal(const Value& iValue, const char* iNone, Quote iQuote)
    {
        switch (iValue.GetKind()) {
        case Value::kNumber:
        case Value::kBoolean: return iValue.Str();
        case Value::kText: return iQuote(iValue.Str());
        default: return iNone;
        }
    }
};

}  // namespace mtt_runtime

#endif
