#ifndef MTT_EXPRESSION_H
#define MTT_EXPRESSION_H

// An expression that the model evaluates: what the template parser hands the
// model where the template needs more than the library's text comparisons
// (arithmetic, numbers compared as numbers, the truth of a value, transforms
// with computed arguments, the conditions and keys of a selection). The JSON
// model and generated programs evaluate the same tree (read from its text by
// ExpressionReader), so both modes give the same values. Header-only, C++17,
// standard library only.
//
// Values and truth (mtt_value.h):
//   property     the model value; true unless null, missing, false, "" or
//                an empty list; a path that reaches nothing is false, and an
//                error where the value is needed. "${:path}" (no name) is
//                true when the path reaches an object.
//   literal      a string, whole number, true or false; false only when its
//                text is "false", as the library has it
//   + - * / %    whole numbers (64 bits): anything else, an overflow and a
//                division by zero are errors; "/" rounds toward zero, "%"
//                has the sign of its left side
//   == !=        texts, byte by byte
//   < <= > >=    numbers when both sides are whole numbers, else texts,
//                byte by byte
//   ! defined && ||   not, the truth itself, and, or (short-circuit)
//   x|t(args)    the transform t with computed arguments

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "mtt_transforms.h"
#include "mtt_value.h"
#include "mtt_value_ref.h"

namespace mtt_runtime {

class Expression {
public:
    enum Kind {
        kProperty,
        kLiteral,
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

    // What an expression reads the model through: the object it is
    // evaluated on, and the root.
    class Context {
    public:
        virtual ~Context() = default;
        // The value of iProperty (a kProperty node: IsRelative, Path, Ref),
        // through its transforms; false when its path reaches nothing.
        virtual bool Read(const Expression& iProperty, Value& oValue) = 0;
    };

    using Owner = std::unique_ptr<Expression>;

    static Owner Property(std::string iText, bool iRelative, std::vector<std::string> iPath, ValueRef iRef,
                          bool iObjectOnly)
    {
        Owner node(new Expression(kProperty, std::move(iText)));
        node->_relative = iRelative;
        node->_path = std::move(iPath);
        node->_ref = std::move(iRef);
        node->_objectOnly = iObjectOnly;
        return node;
    }
    static Owner Literal(Value iValue)
    {
        Owner node(new Expression(kLiteral, iValue.Str()));
        node->_value = std::move(iValue);
        return node;
    }
    static Owner Unary(Kind iKind, Owner iOperand)
    {
        Owner node(new Expression(iKind, std::string()));
        node->_operands.push_back(std::move(iOperand));
        return node;
    }
    static Owner Binary(Kind iKind, Owner iLeft, Owner iRight)
    {
        Owner node(new Expression(iKind, std::string()));
        node->_operands.push_back(std::move(iLeft));
        node->_operands.push_back(std::move(iRight));
        return node;
    }
    // iOperands: the piped value, then the arguments.
    static Owner Pipe(const Transform& iTransform, std::vector<Owner> iOperands)
    {
        Owner node(new Expression(kPipe, iTransform.name));
        node->_transform = &iTransform;
        node->_operands = std::move(iOperands);
        return node;
    }

    Kind GetKind() const { return _kind; }
    // A property as written ("${name|snake:a/b}"), a literal's text, a
    // transform's name.
    const std::string& Text() const { return _text; }
    bool IsRelative() const { return _relative; }
    const std::vector<std::string>& Path() const { return _path; }
    const ValueRef& Ref() const { return _ref; }

    // The value; on an error, oProblem says what went wrong (the first error
    // only) and the value is empty.
    Value Evaluate(Context& ioContext, std::string& oProblem) const
    {
        if (!oProblem.empty()) return Value();
        switch (_kind) {
        case kProperty: {
            Value value;
            if (!ioContext.Read(*this, value)) oProblem = "Property \"" + _text + "\" does not exist";
            return value;
        }
        case kLiteral: return _value;
        case kPipe: return Piped(ioContext, oProblem);
        case kNegate:
        case kAdd:
        case kSubtract:
        case kMultiply:
        case kDivide:
        case kRemainder: return Arithmetic(ioContext, oProblem);
        default: return Value::Boolean(Test(ioContext, oProblem));
        }
    }

    // The truth; false on an error, with oProblem set.
    bool Test(Context& ioContext, std::string& oProblem) const
    {
        if (!oProblem.empty()) return false;
        switch (_kind) {
        case kProperty: {
            Value value;
            const bool reached = ioContext.Read(*this, value);
            return reached && (_objectOnly || value.Truth());
        }
        case kLiteral: return _value.Str() != "false";
        case kNot: return !_operands[0]->Test(ioContext, oProblem) && oProblem.empty();
        case kDefined: return _operands[0]->Test(ioContext, oProblem);
        case kAnd: return _operands[0]->Test(ioContext, oProblem) && _operands[1]->Test(ioContext, oProblem);
        case kOr: return _operands[0]->Test(ioContext, oProblem) || _operands[1]->Test(ioContext, oProblem);
        case kEqual:
        case kNotEqual: {
            const Value left = _operands[0]->Evaluate(ioContext, oProblem);
            const Value right = _operands[1]->Evaluate(ioContext, oProblem);
            return oProblem.empty() && (left.Str() == right.Str()) == (_kind == kEqual);
        }
        case kLess:
        case kLessEqual:
        case kGreater:
        case kGreaterEqual: return Ordered(ioContext, oProblem);
        default: return Evaluate(ioContext, oProblem).Truth() && oProblem.empty();
        }
    }

    // Whole numbers first, in numeric order, then other texts, byte by byte:
    // the order of comparisons, made total for sorting.
    static int Compare(const Value& iLeft, const Value& iRight)
    {
        std::int64_t left = 0;
        std::int64_t right = 0;
        const bool leftWhole = Value::ReadWhole(iLeft.Str(), left) == Value::Whole::kYes;
        const bool rightWhole = Value::ReadWhole(iRight.Str(), right) == Value::Whole::kYes;
        if (leftWhole && rightWhole) return left < right ? -1 : left > right ? 1 : 0;
        if (leftWhole != rightWhole) return leftWhole ? -1 : 1;
        const int order = iLeft.Str().compare(iRight.Str());
        return order < 0 ? -1 : order > 0 ? 1 : 0;
    }

    // The operator's spelling, for messages and for writing a tree.
    static const char* Spelling(Kind iKind)
    {
        static const char* const kSpellings[] = {"",   "",  "!",  "defined", "-", "&&", "||", "==", "!=", "<",
                                                 "<=", ">", ">=", "+",       "-", "*",  "/",  "%",  "|"};
        return kSpellings[iKind];
    }

private:
    Expression(Kind iKind, std::string iText) : _kind(iKind), _text(std::move(iText)) {}

    bool Ordered(Context& ioContext, std::string& oProblem) const
    {
        const Value left = _operands[0]->Evaluate(ioContext, oProblem);
        const Value right = _operands[1]->Evaluate(ioContext, oProblem);
        if (!oProblem.empty()) return false;
        std::int64_t number = 0;
        const Value::Whole leftWhole = Value::ReadWhole(left.Str(), number);
        const Value::Whole rightWhole = Value::ReadWhole(right.Str(), number);
        if (leftWhole != Value::Whole::kNo && rightWhole != Value::Whole::kNo &&
            (leftWhole == Value::Whole::kOutOfRange || rightWhole == Value::Whole::kOutOfRange)) {
            oProblem = OutOfRange((leftWhole == Value::Whole::kOutOfRange ? left : right).Str());
            return false;
        }
        const int order = leftWhole == Value::Whole::kYes && rightWhole == Value::Whole::kYes
                              ? Compare(left, right)
                              : left.Str().compare(right.Str());
        switch (_kind) {
        case kLess: return order < 0;
        case kLessEqual: return order <= 0;
        case kGreater: return order > 0;
        default: return order >= 0;
        }
    }

    Value Arithmetic(Context& ioContext, std::string& oProblem) const
    {
        std::int64_t left = 0;
        std::int64_t right = 0;
        if (_kind == kNegate) {
            if (!Operand(0, ioContext, right, oProblem)) return Value();
        } else if (!Operand(0, ioContext, left, oProblem) || !Operand(1, ioContext, right, oProblem)) {
            return Value();
        }
        const std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
        const std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
        bool over = false;
        std::int64_t result = 0;
        switch (_kind) {
        case kNegate:
            over = right == kMin;
            result = over ? 0 : -right;
            break;
        case kAdd:
            over = (right > 0 && left > kMax - right) || (right < 0 && left < kMin - right);
            result = over ? 0 : left + right;
            break;
        case kSubtract:
            over = (right < 0 && left > kMax + right) || (right > 0 && left < kMin + right);
            result = over ? 0 : left - right;
            break;
        case kMultiply:
            if (left == 0 || right == 0) break;
            if ((left == -1 && right == kMin) || (right == -1 && left == kMin)) {
                over = true;
            } else if (left > 0) {
                over = right > 0 ? left > kMax / right : right < kMin / left;
            } else {
                over = right > 0 ? left < kMin / right : right < kMax / left;
            }
            result = over ? 0 : left * right;
            break;
        default:
            if (right == 0) {
                oProblem =
                    std::string("division by zero in ") + Describe(0) + " " + Spelling(_kind) + " " + Describe(1);
                return Value();
            }
            over = left == kMin && right == -1;
            result = over ? 0 : _kind == kDivide ? left / right : left % right;
        }
        if (over) {
            oProblem = OutOfRange(_kind == kNegate
                                      ? "-(" + std::to_string(right) + ")"
                                      : std::to_string(left) + " " + Spelling(_kind) + " " + std::to_string(right));
            return Value();
        }
        return Value::Number(result);
    }

    // Operand iIndex as a whole number.
    bool Operand(std::size_t iIndex, Context& ioContext, std::int64_t& oNumber, std::string& oProblem) const
    {
        const Value value = _operands[iIndex]->Evaluate(ioContext, oProblem);
        if (!oProblem.empty()) return false;
        switch (Value::ReadWhole(value.Str(), oNumber)) {
        case Value::Whole::kYes: return true;
        case Value::Whole::kOutOfRange: oProblem = OutOfRange(value.Str()); return false;
        default:
            oProblem = std::string("'") + Spelling(_kind) + "' needs whole numbers, found \"" + value.Str() + "\"" +
                       (_operands[iIndex]->_kind == kLiteral ? std::string() : " (" + Describe(iIndex) + ")");
            return false;
        }
    }

    Value Piped(Context& ioContext, std::string& oProblem) const
    {
        Value value = _operands[0]->Evaluate(ioContext, oProblem);
        std::vector<Value> arguments;
        for (std::size_t i = 1; i < _operands.size(); ++i) {
            arguments.push_back(_operands[i]->Evaluate(ioContext, oProblem));
        }
        if (!oProblem.empty()) return Value();
        std::string problem = CheckArgumentCount(*_transform, arguments.size());
        for (std::size_t i = 0; problem.empty() && i < arguments.size(); ++i) {
            problem = CheckArgument(*_transform, i, arguments[i]);
        }
        if (!problem.empty()) {
            oProblem = problem;
            return Value();
        }
        return ApplyTransform(*_transform, std::move(value), arguments);
    }

    // An operand for a message, as the template writes it.
    std::string Describe(std::size_t iIndex) const { return _operands[iIndex]->Written(); }

    std::string Written() const
    {
        switch (_kind) {
        case kProperty: return _text;
        case kLiteral: return _value.GetKind() == Value::kText ? "\"" + _value.Str() + "\"" : _value.Str();
        case kNot:
        case kNegate: return Spelling(_kind) + _operands[0]->Written();
        case kDefined: return "defined " + _operands[0]->Written();
        case kPipe: {
            std::string text = _operands[0]->Written() + "|" + _text;
            for (std::size_t i = 1; i < _operands.size(); ++i) text += (i == 1 ? "(" : ", ") + _operands[i]->Written();
            return _operands.size() > 1 ? text + ")" : text;
        }
        default: return "(" + _operands[0]->Written() + " " + Spelling(_kind) + " " + _operands[1]->Written() + ")";
        }
    }

    static std::string OutOfRange(const std::string& iWhat)
    {
        return iWhat + " is out of range (whole numbers go from " +
               std::to_string(std::numeric_limits<std::int64_t>::min()) + " to " +
               std::to_string(std::numeric_limits<std::int64_t>::max()) + ")";
    }

    Kind _kind;
    std::string _text;
    bool _relative = true;
    bool _objectOnly = false;
    std::vector<std::string> _path;
    ValueRef _ref;
    Value _value;
    const Transform* _transform = nullptr;
    std::vector<Owner> _operands;
};

}  // namespace mtt_runtime

#endif
