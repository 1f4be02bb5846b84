#include "ExpressionParser.h"

#include <algorithm>

#include "DirectiveLexer.h"
#include "MTTNodeFactory.h"
#include "PropertyReference.h"
#include "SourceText.h"
#include "TemplateParser.h"
#include "TemplateSyntaxError.h"

namespace {

const char* const kNestingMessage = "nesting deeper than 100 levels";

bool IsNumber(const std::string& iWord)
{
    return !iWord.empty() && std::all_of(iWord.begin(), iWord.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Leaves the recursion level entered by ExpressionParser::Enter.
struct Leave {
    int& level;
    ~Leave() { --level; }
};

}  // namespace

ExpressionParser::ExpressionParser(MTTNodeFactory& iFactory, DirectiveLexer& iLexer, const SourceText& iSource)
    : _factory(iFactory), _lexer(iLexer), _source(iSource), _recursion(0)
{
}

bool ExpressionParser::IsIdentifier(const std::string& iWord)
{
    if (iWord.empty() || (iWord[0] >= '0' && iWord[0] <= '9')) return false;
    return std::all_of(iWord.begin(), iWord.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

bool ExpressionParser::IsReserved(const std::string& iWord)
{
    static const char* const kWords[] = {"if",     "elif",     "else",    "end",     "foreach",        "function",
                                         "call",   "int",      "string",  "usercode", "special",       "SPC",
                                         "NL",     "beginstatement", "endstatement", "defined"};
    return std::any_of(std::begin(kWords), std::end(kWords), [&](const char* w) { return iWord == w; });
}

ExpressionOwner ExpressionParser::ParseCondition()
{
    return Or().node;
}

ExpressionOwner ExpressionParser::ParseValue(const char* iRole)
{
    Parsed value = Or();
    RequireValue(value, iRole);
    return std::move(value.node);
}

void ExpressionParser::RequireValue(const Parsed& iOperand, const char* iRole) const
{
    if (!iOperand.isValue) {
        throw TemplateSyntaxError(iOperand.offset, std::string("expected a value (a property, string, number or variable) ") +
                                                       iRole + ", found a condition");
    }
}

void ExpressionParser::Enter(size_t iOffset)
{
    if (++_recursion > TemplateParser::kMaxNesting) throw TemplateSyntaxError(iOffset, kNestingMessage);
}

ExpressionParser::Parsed ExpressionParser::Combine(MTTIExpression* (MTTNodeFactory::*iMake)(MTTIExpression*,
                                                                                              MTTIExpression*),
                                                   Parsed iLeft, Parsed iRight, size_t iOperator)
{
    Parsed result;
    result.depth = 1 + std::max(iLeft.depth, iRight.depth);
    if (result.depth > TemplateParser::kMaxNesting) throw TemplateSyntaxError(iOperator, kNestingMessage);
    result.offset = iLeft.offset;
    result.node.reset((_factory.*iMake)(iLeft.node.release(), iRight.node.release()));
    return result;
}

ExpressionParser::Parsed ExpressionParser::Or()
{
    Parsed left = And();
    while (_lexer.Peek().kind == DirectiveToken::kOr) {
        size_t op = _lexer.Next().offset;
        Parsed right = And();
        left = Combine(&MTTNodeFactory::makeExpOr, std::move(left), std::move(right), op);
    }
    return left;
}

ExpressionParser::Parsed ExpressionParser::And()
{
    Parsed left = Comparison();
    while (_lexer.Peek().kind == DirectiveToken::kAnd) {
        size_t op = _lexer.Next().offset;
        Parsed right = Comparison();
        left = Combine(&MTTNodeFactory::makeExpAnd, std::move(left), std::move(right), op);
    }
    return left;
}

ExpressionParser::Parsed ExpressionParser::Comparison()
{
    using Make = MTTIExpression* (MTTNodeFactory::*)(MTTIExpression*, MTTIExpression*);
    auto makerOf = [](DirectiveToken::Kind iKind) -> Make {
        switch (iKind) {
        case DirectiveToken::kEqual: return &MTTNodeFactory::makeExpEquals;
        case DirectiveToken::kNotEqual: return &MTTNodeFactory::makeExpNotEquals;
        case DirectiveToken::kLess: return &MTTNodeFactory::makeExpLt;
        case DirectiveToken::kLessEqual: return &MTTNodeFactory::makeExpLeq;
        case DirectiveToken::kGreater: return &MTTNodeFactory::makeExpGt;
        case DirectiveToken::kGreaterEqual: return &MTTNodeFactory::makeExpGeq;
        default: return nullptr;
        }
    };

    Parsed left = Unary();
    Make make = makerOf(_lexer.Peek().kind);
    if (make == nullptr) return left;
    // Tokens stay put while the directive is parsed; roles are only
    // spelled out for a message.
    const DirectiveToken& op = _lexer.Next();
    const size_t opOffset = op.offset;
    if (!left.isValue) RequireValue(left, ("before '" + op.text + "'").c_str());
    Parsed right = Unary();
    if (!right.isValue) RequireValue(right, ("after '" + op.text + "'").c_str());
    if (makerOf(_lexer.Peek().kind) != nullptr) {
        throw TemplateSyntaxError(_lexer.Peek().offset,
                                  "expected '&&', '||' or the end of the condition, found " + _lexer.Peek().Describe() +
                                      " (comparisons do not chain)");
    }
    return Combine(make, std::move(left), std::move(right), opOffset);
}

ExpressionParser::Parsed ExpressionParser::Unary()
{
    const DirectiveToken& token = _lexer.Peek();
    const bool isNot = token.kind == DirectiveToken::kNot;
    if (!isNot && !(token.kind == DirectiveToken::kWord && token.text == "defined")) return Primary();

    const size_t offset = _lexer.Next().offset;
    Enter(offset);
    Leave leave{_recursion};
    Parsed operand = Unary();
    Parsed result;
    result.depth = operand.depth + 1;
    if (result.depth > TemplateParser::kMaxNesting) throw TemplateSyntaxError(offset, kNestingMessage);
    result.offset = offset;
    MTTIExpression* arg = operand.node.release();
    result.node.reset(isNot ? _factory.makeExpNot(arg) : _factory.makeExpDefined(arg));
    return result;
}

ExpressionParser::Parsed ExpressionParser::Primary()
{
    const DirectiveToken& token = _lexer.Next();
    Parsed result;
    result.offset = token.offset;
    result.isValue = true;
    switch (token.kind) {
    case DirectiveToken::kProperty:
        result.node = PropertyReference::Parse(token.text.data(), token.text.size(), token.offset + 2).Make(_factory);
        return result;
    case DirectiveToken::kString: {
        MTTString text(token.text.data(), token.text.size());
        result.node.reset(_factory.makeExpString(&text, true));
        return result;
    }
    case DirectiveToken::kWord: {
        MTTString text(token.text.data(), token.text.size());
        if (IsNumber(token.text)) {
            // A number is text too; late evaluation writes it without quotes.
            result.node.reset(_factory.makeExpString(&text, false));
        } else if (!IsIdentifier(token.text)) {
            throw TemplateSyntaxError(token.offset, "expected an expression, found '" + token.text +
                                                        "' (a variable name is letters, digits and '_')");
        } else if (IsReserved(token.text)) {
            throw TemplateSyntaxError(token.offset, "expected an expression, found the reserved word '" +
                                                        token.text + "'");
        } else {
            result.node.reset(_factory.makeExpVariable(&text));
        }
        return result;
    }
    case DirectiveToken::kLeftParen: {
        Enter(token.offset);
        Leave leave{_recursion};
        Parsed inner = Or();
        if (_lexer.Peek().kind != DirectiveToken::kRightParen) {
            throw TemplateSyntaxError(_lexer.Peek().offset, "expected ')' to close the '(' at " +
                                                                _source.Where(token.offset) + ", found " +
                                                                _lexer.Peek().Describe());
        }
        _lexer.Next();
        inner.offset = token.offset;
        return inner;
    }
    default:
        throw TemplateSyntaxError(token.offset, "expected an expression, found " + token.Describe());
    }
}
