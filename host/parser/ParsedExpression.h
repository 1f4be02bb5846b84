#ifndef PARSEDEXPRESSION_H
#define PARSEDEXPRESSION_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "PropertyReference.h"

namespace mtt_runtime {
struct Transform;
}

// A directive's expression as written, before it becomes library nodes:
// ExpressionParser decides then which parts the library evaluates and which
// it hands the model as one expression (host/runtime/mtt_expression.h),
// written by Write.
class ParsedExpression {
public:
    enum Kind {
        kProperty,
        kString,
        kNumber,
        kBoolean,  // true, false
        kVariable,
        kNot,
        kDefined,
        kNegate,
        kAnd,
        kOr,
        kEqual,
        kNotEqual,
        kLess,
        kLessEqual,
        kGreater,
        kGreaterEqual,
        kAdd,
        kSubtract,
        kMultiply,
        kDivide,
        kRemainder,
        kPipe
    };
    using Owner = std::unique_ptr<ParsedExpression>;

    ParsedExpression(Kind iKind, size_t iOffset, std::string iText)
        : kind(iKind), offset(iOffset), text(std::move(iText))
    {
    }

    // Yields text: a property, literal, variable, arithmetic or pipe.
    bool IsValue() const { return kind <= kVariable || kind >= kAdd || kind == kNegate; }
    bool IsLiteral() const { return kind == kString || kind == kNumber || kind == kBoolean; }
    bool IsOrdering() const { return kind >= kLess && kind <= kGreaterEqual; }
    bool IsArithmetic() const { return kind == kNegate || (kind >= kAdd && kind <= kRemainder); }
    bool ReadsModel() const;
    // The first variable inside, or null: the model cannot read variables.
    const ParsedExpression* FindVariable() const;

    // The text the model reads (host/runtime/mtt_expression_reader.h), as a
    // condition (iTruth) or a value. iStrict: properties as strict parsing
    // makes them, except where the truth of a value is tested or a value is
    // compared with true or false: there a missing member is simply not true.
    std::string Write(bool iStrict, bool iTruth) const;

    Kind kind;
    size_t offset;     // where it starts
    size_t at = 0;     // where its operator is, for what goes wrong there
    std::string text;  // a literal's text, a variable's or a transform's name
    PropertyReference property;
    const mtt_runtime::Transform* transform = nullptr;
    std::vector<Owner> operands;  // for a pipe: the value, then the arguments
};

#endif
