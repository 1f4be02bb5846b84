#ifndef MTT_EXPRESSION_READER_H
#define MTT_EXPRESSION_READER_H

// Reads the text of an expression (mtt_expression.h) as the template parser
// writes it for the model. Header-only, C++17, standard library only.
//
//   expression = or
//   or         = and { "||" and }
//   and        = comparison { "&&" comparison }
//   comparison = sum [ ( "==" | "!=" | "<" | "<=" | ">" | ">=" ) sum ]
//   sum        = product { ( "+" | "-" ) product }
//   product    = unary { ( "*" | "/" | "%" ) unary }
//   unary      = ( "!" | "defined" | "-" ) unary | postfix
//   postfix    = primary { "|" transform [ "(" [ or { "," or } ] ")" ] }
//   primary    = "${" ref [ ":" path ] "}" | string | [ "-" ] digits
//              | "true" | "false" | "(" or ")"
//
// Blanks may separate the tokens; strings are those of mtt_name_syntax.h.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mtt_expression.h"
#include "mtt_name_syntax.h"
#include "mtt_path_element.h"
#include "mtt_transforms.h"
#include "mtt_value_ref.h"

namespace mtt_runtime {

class ExpressionReader {
public:
    // The whole of iText as one expression, or null.
    static Expression::Owner Read(std::string_view iText)
    {
        ExpressionReader reader(iText);
        Expression::Owner expression = reader.Or();
        return reader.AtEnd() ? std::move(expression) : nullptr;
    }

    explicit ExpressionReader(std::string_view iText) : _text(iText) {}

    // One expression from the current position on, or null; the reader then
    // stands after it, so that a caller can read what follows.
    Expression::Owner Or() { return Chain(&ExpressionReader::And, {{"||", Expression::kOr}}); }

    bool AtEnd()
    {
        SkipBlanks();
        return _at == _text.size();
    }

    // Reads iWord when it comes next, followed by a blank or the end.
    bool AcceptWord(std::string_view iWord)
    {
        SkipBlanks();
        const std::size_t end = _at + iWord.size();
        if (_text.substr(_at, iWord.size()) != iWord || (end < _text.size() && IsWordChar(_text[end]))) return false;
        _at = end;
        return true;
    }

    bool Accept(std::string_view iSymbol)
    {
        SkipBlanks();
        if (_text.substr(_at, iSymbol.size()) != iSymbol) return false;
        _at += iSymbol.size();
        return true;
    }

private:
    struct Operator {
        const char* symbol;
        Expression::Kind kind;
    };

    // Deeper text is refused rather than read at the cost of the stack.
    static constexpr int kMaxDepth = 200;

    using Operand = Expression::Owner (ExpressionReader::*)();

    Expression::Owner Chain(Operand iOperand, std::initializer_list<Operator> iOperators)
    {
        Expression::Owner left = (this->*iOperand)();
        while (left) {
            const Operator* found = nullptr;
            for (const Operator& op : iOperators) {
                if (Accept(op.symbol)) {
                    found = &op;
                    break;
                }
            }
            if (found == nullptr) return left;
            Expression::Owner right = (this->*iOperand)();
            if (!right) return nullptr;
            left = Expression::Binary(found->kind, std::move(left), std::move(right));
        }
        return left;
    }

    Expression::Owner And() { return Chain(&ExpressionReader::Comparison, {{"&&", Expression::kAnd}}); }

    Expression::Owner Comparison()
    {
        Expression::Owner left = Sum();
        if (!left) return left;
        static const Operator kComparisons[] = {{"==", Expression::kEqual},     {"!=", Expression::kNotEqual},
                                                {"<=", Expression::kLessEqual}, {">=", Expression::kGreaterEqual},
                                                {"<", Expression::kLess},       {">", Expression::kGreater}};
        for (const Operator& op : kComparisons) {
            if (!Accept(op.symbol)) continue;
            Expression::Owner right = Sum();
            return right ? Expression::Binary(op.kind, std::move(left), std::move(right)) : nullptr;
        }
        return left;
    }

    Expression::Owner Sum()
    {
        return Chain(&ExpressionReader::Product, {{"+", Expression::kAdd}, {"-", Expression::kSubtract}});
    }

    Expression::Owner Product()
    {
        return Chain(&ExpressionReader::Unary,
                     {{"*", Expression::kMultiply}, {"/", Expression::kDivide}, {"%", Expression::kRemainder}});
    }

    Expression::Owner Unary()
    {
        if (++_depth > kMaxDepth) return nullptr;
        Expression::Owner result;
        SkipBlanks();
        const bool negativeNumber = Peek() == '-' && _at + 1 < _text.size() && IsDigit(_text[_at + 1]);
        if (!negativeNumber && (Accept("!") || Accept("-") || AcceptWord("defined"))) {
            const char first = _text[_at - 1];
            const Expression::Kind kind = first == '!'   ? Expression::kNot
                                          : first == '-' ? Expression::kNegate
                                                         : Expression::kDefined;
            Expression::Owner operand = Unary();
            if (operand) result = Expression::Unary(kind, std::move(operand));
        } else {
            result = Postfix();
        }
        --_depth;
        return result;
    }

    Expression::Owner Postfix()
    {
        Expression::Owner value = Primary();
        // "|" alone is a pipe, "||" an or.
        while (value && Peek() == '|' && (_at + 1 == _text.size() || _text[_at + 1] != '|')) {
            const std::size_t start = ++_at;
            while (_at < _text.size() && IsWordChar(_text[_at])) ++_at;
            const Transform* transform = FindTransform(_text.substr(start, _at - start));
            if (transform == nullptr) return nullptr;
            std::vector<Expression::Owner> operands;
            operands.push_back(std::move(value));
            if (Peek() == '(' && Accept("(") && !Accept(")")) {
                do {
                    Expression::Owner argument = Or();
                    if (!argument) return nullptr;
                    operands.push_back(std::move(argument));
                } while (Accept(","));
                if (!Accept(")")) return nullptr;
            }
            if (!CheckArgumentCount(*transform, operands.size() - 1).empty()) return nullptr;
            value = Expression::Pipe(*transform, std::move(operands));
        }
        return value;
    }

    Expression::Owner Primary()
    {
        SkipBlanks();
        if (_at >= _text.size()) return nullptr;
        const char c = _text[_at];
        if (c == '$') return Property();
        if (c == '"') {
            std::string text;
            const std::size_t end = NameSyntax::ReadString(_text, _at, text);
            if (end == std::string_view::npos) return nullptr;
            _at = end;
            return Expression::Literal(Value::Text(std::move(text)));
        }
        if (c == '(') {
            ++_at;
            Expression::Owner inner = Or();
            return inner && Accept(")") ? std::move(inner) : nullptr;
        }
        if (AcceptWord("true")) return Expression::Literal(Value::Boolean(true));
        if (AcceptWord("false")) return Expression::Literal(Value::Boolean(false));
        const std::size_t start = _at;
        if (c == '-') ++_at;
        while (_at < _text.size() && IsDigit(_text[_at])) ++_at;
        const std::string_view word = _text.substr(start, _at - start);
        std::int64_t number = 0;
        if (Value::ReadWhole(word, number) == Value::Whole::kNo) return nullptr;
        return Expression::Literal(Value(Value::kNumber, std::string(word)));
    }

    // "${" ref [ ":" path ] "}", quotes kept as written.
    Expression::Owner Property()
    {
        if (_text.substr(_at, 2) != "${") return nullptr;
        const std::size_t open = _at;
        std::size_t colon = std::string_view::npos;
        std::size_t p = _at + 2;
        for (bool quoted = false; p < _text.size() && (quoted || _text[p] != '}'); ++p) {
            if (quoted && _text[p] == '\\') {
                ++p;
            } else if (_text[p] == '"') {
                quoted = !quoted;
            } else if (!quoted && _text[p] == ':' && colon == std::string_view::npos) {
                colon = p;
            }
        }
        if (p >= _text.size()) return nullptr;
        _at = p + 1;
        const std::size_t refEnd = colon == std::string_view::npos ? p : colon;
        const std::string_view ref = _text.substr(open + 2, refEnd - open - 2);
        std::vector<std::string> path;
        bool relative = true;
        if (colon != std::string_view::npos) {
            std::string_view text = _text.substr(colon + 1, p - colon - 1);
            if (!text.empty() && text[0] == '/') {
                relative = false;
                text.remove_prefix(1);
            }
            for (std::size_t start = 0; !text.empty() && start <= text.size();) {
                const std::size_t end = PathElement::End(text, start);
                path.emplace_back(text.substr(start, end - start));
                start = end + 1;
            }
        }
        return Expression::Property(std::string(_text.substr(open, _at - open)), relative, std::move(path),
                                    ValueRef::Parse(ref), ref.empty());
    }

    char Peek()
    {
        SkipBlanks();
        return _at < _text.size() ? _text[_at] : '\0';
    }

    void SkipBlanks()
    {
        while (_at < _text.size() && (_text[_at] == ' ' || _text[_at] == '\t')) ++_at;
    }

    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsWordChar(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '_';
    }

    std::string_view _text;
    std::size_t _at = 0;
    int _depth = 0;
};

}  // namespace mtt_runtime

#endif
