#ifndef MTT_VALUE_REF_H
#define MTT_VALUE_REF_H

// A value reference: the name part of `${name:path}`, which says what to read
// on the object that the path reaches, and how to transform it.
// Header-only, C++17, standard library only.
//
//   ref       = base { "|" transform [ "(" [ argument { "," argument } ] ")" ] }
//   base      = plain | quoted | "." | "@" word
//   transform = a name of mtt_transforms.h's table
//   argument  = string | whole number | "true" | "false"    (blanks around it)
//
// plain and quoted (mtt_name_syntax.h) name a member; "." is the object's own
// text; "@index", "@number", "@first", "@last" and "@count" are the object's
// position in the list that holds it, "@depth" how deep it lies in the model,
// "@size" how many elements it holds when it is a list.
// An empty text, or one that does not follow the grammar, names an unknown
// transform or gives it arguments that do not fit, reads as the empty text.
//
// The parser also hands the model texts that stand for expressions
// (mtt_expression.h); they start with a character no name can start with:
//   "=" EXPRESSION   the value of the expression, on the object reached
//   "?" EXPRESSION   as a path element: the object itself when the expression
//                    is true on it, else nothing
//   "*" SELECTION    as a path element on a list: its elements that a
//                    selection (mtt_selection.h) keeps, in its order
// They are parsed by ValueRefCache, which attaches the parsed form.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mtt_name_syntax.h"
#include "mtt_transforms.h"
#include "mtt_value.h"

namespace mtt_runtime {

class Expression;
class Selection;

class ValueRef {
public:
    enum Base {
        kInvalid,         // reads as the empty text, transforms not applied
        kMember,          // Name()
        kSelf,            // "."
        kIndex,           // "@index", from 0
        kNumber,          // "@number", from 1
        kFirst,           // "@first": "true" or "false"
        kLast,            // "@last": "true" or "false"
        kCount,           // "@count": the size of the list
        kDepth,           // "@depth": 0 for the root, 1 more for each enclosing object
        kSize,            // "@size": the number of elements of a list
        kUnknownDerived,  // any other "@word": always missing
        kComputed,        // "=" expression
        kTest,            // "?" expression
        kSelection        // "*" selection
    };

    // The loop values, by the word users write after "@".
    struct Derived {
        const char* word;
        Base base;
    };
    static constexpr Derived kDerived[] = {{"index", kIndex}, {"number", kNumber}, {"first", kFirst}, {"last", kLast},
                                           {"count", kCount}, {"depth", kDepth},   {"size", kSize}};

    // A transform and its arguments.
    struct Step {
        const Transform* transform;
        std::vector<Value> arguments;
    };

    static ValueRef Parse(std::string_view iText)
    {
        ValueRef ref;
        const std::size_t n = iText.size();
        std::size_t p;
        if (n == 0) return ref;
        switch (iText[0]) {
        case '=': return Source(kComputed, iText);
        case '?': return Source(kTest, iText);
        case '*': return Source(kSelection, iText);
        default: break;
        }
        if (iText[0] == '"') {
            p = NameSyntax::ReadQuoted(iText, 0, ref._name);
            if (p == std::string_view::npos) return ref;
            ref._base = kMember;
            ref._quoted = true;
        } else if (iText[0] == '@') {
            p = 1;
            while (p < n && IsWordChar(iText[p])) ++p;
            if (p == 1) return ref;
            ref._base = DerivedBase(iText.substr(1, p - 1));
        } else {
            p = NameSyntax::PlainLength(iText, 0);
            if (p == 0) return ref;
            ref._name.assign(iText.data(), p);
            ref._base = ref._name == "." ? kSelf : kMember;
        }
        while (p < n) {
            if (iText[p] != '|') return ValueRef();
            const std::size_t start = ++p;
            while (p < n && IsWordChar(iText[p])) ++p;
            Step step{FindTransform(iText.substr(start, p - start)), {}};
            if (step.transform == nullptr) return ValueRef();
            if (p < n && iText[p] == '(') {
                std::size_t failedAt = 0;
                p = ReadArguments(iText, p, step.arguments, failedAt);
                if (p == std::string_view::npos) return ValueRef();
            }
            if (!CheckArgumentCount(*step.transform, step.arguments.size()).empty()) return ValueRef();
            for (std::size_t i = 0; i < step.arguments.size(); ++i) {
                if (!CheckArgument(*step.transform, i, step.arguments[i]).empty()) return ValueRef();
            }
            ref._steps.push_back(std::move(step));
        }
        return ref;
    }

    // The arguments in parentheses at iOpen (on its "("): the position after
    // them, or npos with oFailedAt where they stop following the grammar.
    // oStarts, when given, receives where each argument starts.
    static std::size_t ReadArguments(std::string_view iText, std::size_t iOpen, std::vector<Value>& oArguments,
                                     std::size_t& oFailedAt, std::vector<std::size_t>* oStarts = nullptr)
    {
        std::size_t p = SkipBlanks(iText, iOpen + 1);
        if (p < iText.size() && iText[p] == ')') return p + 1;
        for (;;) {
            if (oStarts != nullptr) oStarts->push_back(p);
            Value argument;
            const std::size_t end = ReadArgument(iText, p, argument);
            if (end == std::string_view::npos) {
                oFailedAt = p;
                return end;
            }
            oArguments.push_back(std::move(argument));
            p = SkipBlanks(iText, end);
            if (p < iText.size() && iText[p] == ')') return p + 1;
            if (p >= iText.size() || iText[p] != ',') {
                oFailedAt = p;
                return std::string_view::npos;
            }
            p = SkipBlanks(iText, p + 1);
        }
    }

    Base GetBase() const { return _base; }
    bool IsDerived() const { return _base >= kIndex && _base <= kUnknownDerived; }
    // The member's name, unquoted; for the expression bases, the text after
    // the first character; empty for other bases.
    const std::string& Name() const { return _name; }
    // A quoted member is always a member, even when named "UserCode".
    bool IsQuoted() const { return _quoted; }
    const std::vector<Step>& Steps() const { return _steps; }

    // What ValueRefCache attached to an expression base (null before).
    const Expression* GetExpression() const { return _expression.get(); }
    const Selection* GetSelection() const { return _selection.get(); }
    void Attach(std::shared_ptr<const Expression> iExpression) { _expression = std::move(iExpression); }
    void Attach(std::shared_ptr<const Selection> iSelection) { _selection = std::move(iSelection); }

    // The value of a derived base for the element at iIndex of a list of
    // iCount elements (iHasPosition: the object is a list element), at
    // depth iDepth.
    Value DerivedValue(bool iHasPosition, std::size_t iIndex, std::size_t iCount, std::size_t iDepth) const
    {
        if (_base == kDepth) return Value(Value::kNumber, std::to_string(iDepth));
        if (!iHasPosition) return Value();
        switch (_base) {
        case kIndex: return Value(Value::kNumber, std::to_string(iIndex));
        case kNumber: return Value(Value::kNumber, std::to_string(iIndex + 1));
        case kFirst: return Value::Boolean(iIndex == 0);
        case kLast: return Value::Boolean(iIndex + 1 == iCount);
        case kCount: return Value(Value::kNumber, std::to_string(iCount));
        default: return Value();
        }
    }

    // iValue through the transforms, left to right.
    Value Apply(Value iValue) const
    {
        for (const Step& step : _steps) iValue = ApplyTransform(*step.transform, std::move(iValue), step.arguments);
        return iValue;
    }

private:
    static ValueRef Source(Base iBase, std::string_view iText)
    {
        ValueRef ref;
        ref._base = iBase;
        ref._name.assign(iText.data() + 1, iText.size() - 1);
        return ref;
    }

    static bool IsWordChar(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    }

    static std::size_t SkipBlanks(std::string_view iText, std::size_t iAt)
    {
        while (iAt < iText.size() && (iText[iAt] == ' ' || iText[iAt] == '\t')) ++iAt;
        return iAt;
    }

    static std::size_t ReadArgument(std::string_view iText, std::size_t iAt, Value& oArgument)
    {
        if (iAt >= iText.size()) return std::string_view::npos;
        if (iText[iAt] == '"') {
            std::string text;
            const std::size_t end = NameSyntax::ReadString(iText, iAt, text);
            oArgument = Value::Text(std::move(text));
            return end;
        }
        std::size_t end = iAt;
        while (end < iText.size() && (IsWordChar(iText[end]) || iText[end] == '-')) ++end;
        const std::string_view word = iText.substr(iAt, end - iAt);
        std::int64_t number = 0;
        if (word == "true" || word == "false") {
            oArgument = Value::Boolean(word == "true");
        } else if (Value::ReadWhole(word, number) != Value::Whole::kNo) {
            // Out of range too: the transform's check says so.
            oArgument = Value(Value::kNumber, std::string(word));
        } else {
            return std::string_view::npos;
        }
        return end;
    }

    static Base DerivedBase(std::string_view iWord)
    {
        for (const Derived& derived : kDerived) {
            if (iWord == derived.word) return derived.base;
        }
        return kUnknownDerived;
    }

    Base _base = kInvalid;
    bool _quoted = false;
    std::string _name;
    std::vector<Step> _steps;
    std::shared_ptr<const Expression> _expression;
    std::shared_ptr<const Selection> _selection;
};

}  // namespace mtt_runtime

#endif
