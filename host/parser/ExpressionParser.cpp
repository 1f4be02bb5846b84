#include "ExpressionParser.h"

#include <algorithm>

#include "DirectiveLexer.h"
#include "DirectiveTable.h"
#include "MTTNodeFactory.h"
#include "ParseOptions.h"
#include "ParseSession.h"
#include "PropertyReference.h"
#include "SourceText.h"
#include "TemplateParser.h"
#include "TemplateSyntaxError.h"
#include "TrackingNodeFactory.h"

namespace {

bool IsNumber(const std::string& iWord)
{
    return !iWord.empty() && std::all_of(iWord.begin(), iWord.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Leaves the recursion level entered by ExpressionParser::Enter.
struct Leave {
    int& level;
    ~Leave() { --level; }
};

const char* const kNoLateNot =
    "'!' has no late form in a condition that reads the model; write the opposite comparison instead "
    "(e.g. 'a != b' for '!(a == b)')";
const char* const kNoLateDefined =
    "'defined' has no late form in a condition that reads the model; a property alone already tests its "
    "object: write '${:path}' for 'defined ${:path}'";

}  // namespace

ExpressionParser::ExpressionParser(ParseSession& ioSession, DirectiveLexer& iLexer, const SourceText& iSource)
    : _session(ioSession),
      _factory(ioSession.factory),
      _lexer(iLexer),
      _source(iSource),
      _recursion(0),
      _use(NodeBuilder::Use::kGenerating),
      _generatedCondition(false),
      _noLateProperty(nullptr)
{
}

bool ExpressionParser::IsIdentifier(const std::string& iWord)
{
    if (iWord.empty() || (iWord[0] >= '0' && iWord[0] <= '9')) return false;
    return std::all_of(iWord.begin(), iWord.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

ExpressionOwner ExpressionParser::ParseCondition()
{
    // The library writes a condition as code exactly when it holds a
    // property; one without is decided while generating and reads raw texts.
    _generatedCondition = _session.options.late && _lexer.HasAhead(DirectiveToken::kProperty);
    _use = _generatedCondition ? NodeBuilder::Use::kGeneratedCode : NodeBuilder::Use::kGenerating;
    return Or().node;
}

ExpressionOwner ExpressionParser::ParseArgument()
{
    _noLateProperty =
        "as an argument of 'call': late evaluation writes a parameter as its name and decides "
        "conditions on it while generating, so the model is never read; read the property inside "
        "the function instead";
    return Or().node;
}

ExpressionOwner ExpressionParser::ParseValue(const char* iRole, NodeBuilder::Use iUse)
{
    _use = iUse;
    if (iUse == NodeBuilder::Use::kGenerating) {
        _noLateProperty =
            "in a variable's value: late evaluation assigns variables while generating, when no "
            "model is read; write the generated code that uses the property instead";
    }
    Parsed value = Or();
    RequireValue(value, iRole);
    return std::move(value.node);
}

void ExpressionParser::RequireValue(const Parsed& iOperand, const char* iRole) const
{
    if (!iOperand.isValue) {
        throw TemplateSyntaxError(iOperand.offset,
                                  std::string("expected a value (a property, string, number or variable) ") + iRole +
                                      ", found a condition");
    }
}

void ExpressionParser::RequireGeneratedVariable(const DirectiveToken& iToken) const
{
    // Late evaluation writes a variable by its name: right for a variable
    // the generated code declares, or a name of its own (a constant), wrong
    // for one whose value exists only while generating.
    if (!_session.options.late || _use == NodeBuilder::Use::kGenerating) return;
    const LateDeclarations::Declaration* declared = _session.declarations.Find(iToken.text);
    if ((declared != nullptr && declared->certain) || _session.generating.count(iToken.text) == 0) return;
    throw TemplateSyntaxError(
        iToken.offset, "'" + iToken.text +
                           "' has no late form here: it has a value only while generating "
                           "(set with '=', '+=' or -D, or a parameter), and late evaluation would write its name, "
                           "not its value");
}

void ExpressionParser::Enter(size_t iOffset)
{
    if (++_recursion > TemplateParser::kMaxNesting) throw TemplateSyntaxError::TooDeep(iOffset);
}

ExpressionParser::Parsed ExpressionParser::Combine(Make iMake, Parsed iLeft, Parsed iRight, size_t iOperator)
{
    Parsed result;
    result.depth = 1 + std::max(iLeft.depth, iRight.depth);
    if (result.depth > TemplateParser::kMaxNesting) throw TemplateSyntaxError::TooDeep(iOperator);
    result.offset = iLeft.offset;
    result.node.reset((_factory.*iMake)(iLeft.node.release(), iRight.node.release()));
    return result;
}

ExpressionParser::Parsed ExpressionParser::Or()
{
    return Chain(DirectiveToken::kOr, &ExpressionParser::And, &MTTNodeFactory::makeExpOr);
}

ExpressionParser::Parsed ExpressionParser::And()
{
    return Chain(DirectiveToken::kAnd, &ExpressionParser::Comparison, &MTTNodeFactory::makeExpAnd);
}

ExpressionParser::Parsed ExpressionParser::Chain(DirectiveToken::Kind iOperator, Parsed (ExpressionParser::*iOperand)(),
                                                 Make iMake)
{
    Parsed left = (this->*iOperand)();
    while (_lexer.Peek().kind == iOperator) {
        size_t op = _lexer.Next().offset;
        Parsed right = (this->*iOperand)();
        left = Combine(iMake, std::move(left), std::move(right), op);
    }
    return left;
}

ExpressionParser::Parsed ExpressionParser::Comparison()
{
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
        throw TemplateSyntaxError(_lexer.Peek().offset, "expected '&&', '||' or the end of the condition, found " +
                                                            _lexer.Peek().Describe() + " (comparisons do not chain)");
    }
    return Combine(make, std::move(left), std::move(right), opOffset);
}

ExpressionParser::Parsed ExpressionParser::Unary()
{
    const DirectiveToken& token = _lexer.Peek();
    const bool isNot = token.kind == DirectiveToken::kNot;
    if (!isNot && !(token.kind == DirectiveToken::kWord && token.text == "defined")) return Primary();

    const size_t offset = _lexer.Next().offset;
    if (_generatedCondition) throw TemplateSyntaxError(offset, isNot ? kNoLateNot : kNoLateDefined);
    Enter(offset);
    Leave leave{_recursion};
    Parsed operand = Unary();
    Parsed result;
    result.depth = operand.depth + 1;
    if (result.depth > TemplateParser::kMaxNesting) throw TemplateSyntaxError::TooDeep(offset);
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
        if (_session.options.late && _noLateProperty != nullptr) {
            throw TemplateSyntaxError(token.offset, "'${" + token.text + "}' has no late form " + _noLateProperty);
        }
        result.node =
            _session.builder.Property(PropertyReference::Parse(token.text.data(), token.text.size(), token.offset + 2));
        return result;
    case DirectiveToken::kString: result.node = _session.builder.Literal(token.text, false, _use); return result;
    case DirectiveToken::kWord:
        if (IsNumber(token.text) || token.text == "true" || token.text == "false") {
            result.node = _session.builder.Literal(token.text, IsNumber(token.text), _use);
        } else if (!IsIdentifier(token.text)) {
            throw TemplateSyntaxError(token.offset, "expected an expression, found '" + token.text +
                                                        "' (a variable name is letters, digits and '_')");
        } else if (DirectiveTable::IsReserved(token.text)) {
            throw TemplateSyntaxError(token.offset,
                                      "expected an expression, found the reserved word '" + token.text + "'");
        } else {
            RequireGeneratedVariable(token);
            MTTString name(token.text.data(), token.text.size());
            result.node.reset(_factory.makeExpVariable(&name));
        }
        return result;
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
    default: throw TemplateSyntaxError(token.offset, "expected an expression, found " + token.Describe());
    }
}
