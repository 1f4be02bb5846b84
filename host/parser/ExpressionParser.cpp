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
#include "mtt_expression.h"
#include "mtt_expression_reader.h"
#include "mtt_transforms.h"

namespace {

bool IsDigits(const std::string& iWord, size_t iFrom)
{
    return iWord.size() > iFrom && std::all_of(iWord.begin() + static_cast<std::ptrdiff_t>(iFrom), iWord.end(),
                                               [](char c) { return c >= '0' && c <= '9'; });
}

// A whole number: digits, with a "-" before them.
bool IsNumber(const std::string& iWord)
{
    return IsDigits(iWord, iWord.compare(0, 1, "-") == 0 ? 1 : 0);
}

// Leaves the recursion level entered by ExpressionParser::Enter.
struct Leave {
    int& level;
    ~Leave() { --level; }
};

// Reads no model: for what is computed while parsing.
struct NoModel : mtt_runtime::Expression::Context {
    bool Read(const mtt_runtime::Expression&, mtt_runtime::Value&) override { return false; }
};

const char* const kNoLateNot =
    "'!' has no late form in a condition that reads the model and a variable; write the opposite comparison "
    "instead (e.g. 'a != b' for '!(a == b)')";
const char* const kNoLateDefined =
    "'defined' has no late form in a condition that reads the model and a variable; a property alone already "
    "tests its object: write '${:path}' for 'defined ${:path}'";

// The library's comparisons, by kind.
using Make = MTTIExpression* (MTTNodeFactory::*)(MTTIExpression*, MTTIExpression*);
Make MakerOf(ParsedExpression::Kind iKind)
{
    switch (iKind) {
    case ParsedExpression::kAnd: return &MTTNodeFactory::makeExpAnd;
    case ParsedExpression::kOr: return &MTTNodeFactory::makeExpOr;
    case ParsedExpression::kEqual: return &MTTNodeFactory::makeExpEquals;
    case ParsedExpression::kNotEqual: return &MTTNodeFactory::makeExpNotEquals;
    case ParsedExpression::kLess: return &MTTNodeFactory::makeExpLt;
    case ParsedExpression::kLessEqual: return &MTTNodeFactory::makeExpLeq;
    case ParsedExpression::kGreater: return &MTTNodeFactory::makeExpGt;
    case ParsedExpression::kGreaterEqual: return &MTTNodeFactory::makeExpGeq;
    default: return nullptr;
    }
}

bool ComparisonKind(DirectiveToken::Kind iToken, ParsedExpression::Kind& oKind)
{
    switch (iToken) {
    case DirectiveToken::kEqual: oKind = ParsedExpression::kEqual; return true;
    case DirectiveToken::kNotEqual: oKind = ParsedExpression::kNotEqual; return true;
    case DirectiveToken::kLess: oKind = ParsedExpression::kLess; return true;
    case DirectiveToken::kLessEqual: oKind = ParsedExpression::kLessEqual; return true;
    case DirectiveToken::kGreater: oKind = ParsedExpression::kGreater; return true;
    case DirectiveToken::kGreaterEqual: oKind = ParsedExpression::kGreaterEqual; return true;
    default: return false;
    }
}

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
    Parsed condition = Or();
    return Build(*condition.node, Use::kCondition);
}

ExpressionOwner ExpressionParser::ParseArgument()
{
    _noLateProperty =
        "as an argument of 'call': late evaluation writes a parameter as its name and decides "
        "conditions on it while generating, so the model is never read; read the property inside "
        "the function instead";
    Parsed argument = Or();
    return Build(*argument.node, argument.node->IsValue() ? Use::kValue : Use::kCondition);
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
    RequireValue(*value.node, iRole);
    return Build(*value.node, Use::kValue);
}

std::string ExpressionParser::ParseModelCondition(const char* iClause)
{
    return ModelText(Or(), iClause, true);
}

std::string ExpressionParser::ParseModelValue(const char* iClause)
{
    Parsed value = Or();
    RequireValue(*value.node, (std::string("after '") + iClause + "'").c_str());
    return ModelText(std::move(value), iClause, false);
}

std::string ExpressionParser::ModelText(Parsed iParsed, const char* iClause, bool iCondition)
{
    RequireModelOnly(*iParsed.node, std::string("'") + iClause + "', which the model evaluates on each element,");
    std::string text = iParsed.node->Write(_session.options.strict, iCondition);
    // Literals alone are checked now: what goes wrong goes wrong on every element.
    if (!iParsed.node->ReadsModel()) Computed(*iParsed.node, iCondition ? Use::kCondition : Use::kValue);
    return text;
}

void ExpressionParser::RequireValue(const ParsedExpression& iOperand, const char* iRole) const
{
    if (!iOperand.IsValue()) {
        throw TemplateSyntaxError(iOperand.offset,
                                  std::string("expected a value (a property, string, number or variable) ") + iRole +
                                      ", found a condition");
    }
}

void ExpressionParser::RequireModelOnly(const ParsedExpression& iNode, const std::string& iWhat) const
{
    if (const ParsedExpression* variable = iNode.FindVariable()) {
        throw TemplateSyntaxError(variable->offset, iWhat +
                                                        " reads model values, loop values and literals, not "
                                                        "the variable '" +
                                                        variable->text + "' (the model does not see variables)");
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

ExpressionParser::Parsed ExpressionParser::Combine(Kind iKind, Parsed iLeft, Parsed iRight, size_t iOperator)
{
    Parsed result;
    result.depth = 1 + std::max(iLeft.depth, iRight.depth);
    if (result.depth > TemplateParser::kMaxNesting) throw TemplateSyntaxError::TooDeep(iOperator);
    result.node.reset(new ParsedExpression(iKind, iLeft.node->offset, std::string()));
    result.node->operands.push_back(std::move(iLeft.node));
    result.node->operands.push_back(std::move(iRight.node));
    return result;
}

ExpressionParser::Parsed ExpressionParser::Or()
{
    return Chain(&ExpressionParser::And, &ExpressionParser::LogicalOr, false);
}

ExpressionParser::Parsed ExpressionParser::And()
{
    return Chain(&ExpressionParser::Comparison, &ExpressionParser::LogicalAnd, false);
}

ExpressionParser::Parsed ExpressionParser::Sum()
{
    return Chain(&ExpressionParser::Product, &ExpressionParser::Additive, true);
}

ExpressionParser::Parsed ExpressionParser::Product()
{
    return Chain(&ExpressionParser::Unary, &ExpressionParser::Multiplicative, true);
}

bool ExpressionParser::LogicalOr(Kind& oKind)
{
    oKind = ParsedExpression::kOr;
    return _lexer.Peek().kind == DirectiveToken::kOr;
}

bool ExpressionParser::LogicalAnd(Kind& oKind)
{
    oKind = ParsedExpression::kAnd;
    return _lexer.Peek().kind == DirectiveToken::kAnd;
}

bool ExpressionParser::Additive(Kind& oKind)
{
    const DirectiveToken& token = _lexer.Peek();
    oKind = token.kind == DirectiveToken::kPlus ? ParsedExpression::kAdd : ParsedExpression::kSubtract;
    // "-" is a name character: "- 1" and "-1" after an operand subtract.
    return token.kind == DirectiveToken::kPlus ||
           (token.kind == DirectiveToken::kWord &&
            (token.text == "-" || (IsNumber(token.text) && token.text[0] == '-')));
}

bool ExpressionParser::Multiplicative(Kind& oKind)
{
    switch (_lexer.Peek().kind) {
    case DirectiveToken::kStar: oKind = ParsedExpression::kMultiply; return true;
    case DirectiveToken::kSlash: oKind = ParsedExpression::kDivide; return true;
    case DirectiveToken::kPercent: oKind = ParsedExpression::kRemainder; return true;
    default: return false;
    }
}

ExpressionParser::Parsed ExpressionParser::Chain(Parsed (ExpressionParser::*iOperand)(),
                                                 bool (ExpressionParser::*iKindOf)(Kind&), bool iValues)
{
    Parsed left = (this->*iOperand)();
    Kind kind;
    while ((this->*iKindOf)(kind)) {
        const DirectiveToken& op = _lexer.Next();
        const size_t offset = op.offset;
        const std::string spelling = op.text.size() > 1 && op.kind == DirectiveToken::kWord ? "-" : op.text;
        if (iValues) RequireValue(*left.node, ("before '" + spelling + "'").c_str());
        Parsed right;
        if (op.kind == DirectiveToken::kWord && op.text.size() > 1) {
            // "-1": the number after the sign.
            right.node.reset(new ParsedExpression(ParsedExpression::kNumber, offset + 1, op.text.substr(1)));
        } else {
            right = (this->*iOperand)();
        }
        if (iValues) RequireValue(*right.node, ("after '" + spelling + "'").c_str());
        left = Combine(kind, std::move(left), std::move(right), offset);
        left.node->at = offset;
    }
    return left;
}

ExpressionParser::Parsed ExpressionParser::Comparison()
{
    Parsed left = Sum();
    Kind kind;
    if (!ComparisonKind(_lexer.Peek().kind, kind)) return left;
    // Tokens stay put while the directive is parsed; roles are only
    // spelled out for a message.
    const DirectiveToken& op = _lexer.Next();
    const size_t opOffset = op.offset;
    RequireValue(*left.node, ("before '" + op.text + "'").c_str());
    Parsed right = Sum();
    RequireValue(*right.node, ("after '" + op.text + "'").c_str());
    Kind next;
    if (ComparisonKind(_lexer.Peek().kind, next)) {
        throw TemplateSyntaxError(_lexer.Peek().offset, "expected '&&', '||' or the end of the condition, found " +
                                                            _lexer.Peek().Describe() + " (comparisons do not chain)");
    }
    Parsed result = Combine(kind, std::move(left), std::move(right), opOffset);
    result.node->at = opOffset;
    return result;
}

ExpressionParser::Parsed ExpressionParser::Unary()
{
    const DirectiveToken& token = _lexer.Peek();
    Kind kind;
    if (token.kind == DirectiveToken::kNot) {
        kind = ParsedExpression::kNot;
    } else if (token.kind == DirectiveToken::kWord && token.text == "defined") {
        kind = ParsedExpression::kDefined;
    } else if (token.kind == DirectiveToken::kWord && token.text == "-") {
        kind = ParsedExpression::kNegate;
    } else {
        return Postfix();
    }
    const size_t offset = _lexer.Next().offset;
    Enter(offset);
    Leave leave{_recursion};
    Parsed operand = Unary();
    if (kind == ParsedExpression::kNegate) RequireValue(*operand.node, "after '-'");
    Parsed result;
    result.depth = operand.depth + 1;
    if (result.depth > TemplateParser::kMaxNesting) throw TemplateSyntaxError::TooDeep(offset);
    result.node.reset(new ParsedExpression(kind, offset, std::string()));
    result.node->at = offset;
    result.node->operands.push_back(std::move(operand.node));
    return result;
}

ExpressionParser::Parsed ExpressionParser::Postfix()
{
    Parsed value = Primary();
    while (_lexer.Peek().kind == DirectiveToken::kPipe) {
        const size_t pipe = _lexer.Next().offset;
        RequireValue(*value.node, "before '|'");
        const DirectiveToken& name = _lexer.Peek();
        if (name.kind != DirectiveToken::kWord) {
            throw TemplateSyntaxError(name.offset, "expected a transform after '|', found " + name.Describe());
        }
        const mtt_runtime::Transform* transform = mtt_runtime::FindTransform(name.text);
        if (transform == nullptr)
            throw TemplateSyntaxError(name.offset, PropertyReference::UnknownTransform(name.text));
        const size_t at = _lexer.Next().offset;
        Parsed result;
        result.depth = value.depth + 1;
        result.node.reset(new ParsedExpression(ParsedExpression::kPipe, value.node->offset, transform->name));
        result.node->at = pipe;
        result.node->transform = transform;
        result.node->operands.push_back(std::move(value.node));
        if (_lexer.Peek().kind == DirectiveToken::kLeftParen) {
            const size_t open = _lexer.Next().offset;
            Enter(open);
            Leave leave{_recursion};
            while (!_lexer.Accept(DirectiveToken::kRightParen)) {
                if (result.node->operands.size() > 1 && !_lexer.Accept(DirectiveToken::kComma)) {
                    throw TemplateSyntaxError(_lexer.Peek().offset, "expected ',' or ')' after an argument of '" +
                                                                        name.text + "', found " +
                                                                        _lexer.Peek().Describe());
                }
                Parsed argument = Or();
                RequireValue(*argument.node, ("as an argument of '" + name.text + "'").c_str());
                result.depth = std::max(result.depth, argument.depth + 1);
                result.node->operands.push_back(std::move(argument.node));
            }
        }
        if (result.depth > TemplateParser::kMaxNesting) throw TemplateSyntaxError::TooDeep(pipe);
        const std::vector<ParsedExpression::Owner>& operands = result.node->operands;
        const std::string count = mtt_runtime::CheckArgumentCount(*transform, operands.size() - 1);
        if (!count.empty()) throw TemplateSyntaxError(at, count);
        for (size_t i = 1; i < operands.size(); ++i) {
            if (!operands[i]->IsLiteral()) continue;
            const std::string problem =
                mtt_runtime::CheckArgument(*transform, i - 1, mtt_runtime::Value::Text(operands[i]->text));
            if (!problem.empty()) throw TemplateSyntaxError(operands[i]->offset, problem);
        }
        value = std::move(result);
    }
    return value;
}

ExpressionParser::Parsed ExpressionParser::Primary()
{
    const DirectiveToken& token = _lexer.Next();
    Parsed result;
    switch (token.kind) {
    case DirectiveToken::kProperty:
        if (_session.options.late && _noLateProperty != nullptr) {
            throw TemplateSyntaxError(token.offset, "'${" + token.text + "}' has no late form " + _noLateProperty);
        }
        result.node.reset(new ParsedExpression(ParsedExpression::kProperty, token.offset, std::string()));
        result.node->property = PropertyReference::Parse(token.text.data(), token.text.size(), token.offset + 2);
        return result;
    case DirectiveToken::kString:
        result.node.reset(new ParsedExpression(ParsedExpression::kString, token.offset, token.text));
        return result;
    case DirectiveToken::kWord:
        if (IsNumber(token.text)) {
            result.node.reset(new ParsedExpression(ParsedExpression::kNumber, token.offset, token.text));
        } else if (token.text == "true" || token.text == "false") {
            result.node.reset(new ParsedExpression(ParsedExpression::kBoolean, token.offset, token.text));
        } else if (!IsIdentifier(token.text)) {
            const bool minus = token.text.find('-') != std::string::npos;
            throw TemplateSyntaxError(token.offset, "expected an expression, found '" + token.text +
                                                        (minus ? "' (write blanks around '-' to subtract)"
                                                               : "' (a variable name is letters, digits and '_')"));
        } else if (DirectiveTable::IsReserved(token.text)) {
            throw TemplateSyntaxError(token.offset,
                                      "expected an expression, found the reserved word '" + token.text + "'");
        } else {
            RequireGeneratedVariable(token);
            result.node.reset(new ParsedExpression(ParsedExpression::kVariable, token.offset, token.text));
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
        inner.node->offset = token.offset;
        return inner;
    }
    default: throw TemplateSyntaxError(token.offset, "expected an expression, found " + token.Describe());
    }
}

ExpressionOwner ExpressionParser::Build(const ParsedExpression& iNode, Use iUse)
{
    switch (iNode.kind) {
    case ParsedExpression::kProperty:
        // A value's truth is the model's to tell; an object alone
        // ("${:path}") stays a walk of the library.
        if (iUse == Use::kCondition && !iNode.property.Ref().empty()) return ModelTest(iNode);
        return _session.builder.Property(iNode.property);
    case ParsedExpression::kString:
    case ParsedExpression::kNumber:
    case ParsedExpression::kBoolean:
        return _session.builder.Literal(iNode.text, iNode.kind == ParsedExpression::kNumber, _use);
    case ParsedExpression::kVariable: {
        MTTString name(iNode.text.data(), iNode.text.size());
        return ExpressionOwner(_factory.makeExpVariable(&name));
    }
    case ParsedExpression::kNot:
    case ParsedExpression::kDefined: {
        const ParsedExpression& operand = *iNode.operands[0];
        if (_generatedCondition) {
            // The library has no late form of them: the model decides, when
            // it can read all of the operand.
            if (!operand.ReadsModel() || operand.FindVariable() != nullptr) {
                throw TemplateSyntaxError(iNode.at, iNode.kind == ParsedExpression::kNot ? kNoLateNot : kNoLateDefined);
            }
            return ModelTest(iNode);
        }
        ExpressionOwner built = Build(operand, Use::kCondition);
        return ExpressionOwner(iNode.kind == ParsedExpression::kNot ? _factory.makeExpNot(built.release())
                                                                    : _factory.makeExpDefined(built.release()));
    }
    case ParsedExpression::kAnd:
    case ParsedExpression::kOr:
    case ParsedExpression::kEqual:
    case ParsedExpression::kNotEqual: break;
    case ParsedExpression::kLess:
    case ParsedExpression::kLessEqual:
    case ParsedExpression::kGreater:
    case ParsedExpression::kGreaterEqual: {
        const ParsedExpression* variable = iNode.FindVariable();
        if (variable == nullptr) {
            if (iNode.ReadsModel() || _generatedCondition) return ModelTest(iNode);
            return Computed(iNode, iUse);
        }
        // Variables hold texts: they compare as texts, which orders "9"
        // after "10"; with a number that is never what is meant.
        for (const ParsedExpression::Owner& side : iNode.operands) {
            if (side->kind == ParsedExpression::kNumber || side->IsArithmetic()) {
                throw TemplateSyntaxError(iNode.at, "cannot compare the variable '" + variable->text +
                                                        "' with a number: variables hold texts, compared byte "
                                                        "by byte; numbers compare as numbers between model "
                                                        "values, loop values and literals");
            }
        }
        break;
    }
    default: {
        // Arithmetic and transforms: the model computes them.
        RequireModelOnly(iNode, iNode.kind == ParsedExpression::kPipe ? "'|" + iNode.text + "' in a directive"
                                                                      : std::string("arithmetic"));
        if (!iNode.ReadsModel()) return Computed(iNode, iUse);
        return iUse == Use::kCondition ? ModelTest(iNode) : ModelValue(iNode);
    }
    }
    const bool logical = iNode.kind == ParsedExpression::kAnd || iNode.kind == ParsedExpression::kOr;
    const Use operandUse = logical ? Use::kCondition : Use::kValue;
    const ParsedExpression& leftNode = *iNode.operands[0];
    const ParsedExpression& rightNode = *iNode.operands[1];
    // Compared with true or false, a missing member is simply not equal, not
    // an error, strict or not.
    const bool flag =
        !logical && (leftNode.kind == ParsedExpression::kBoolean || rightNode.kind == ParsedExpression::kBoolean);
    auto side = [&](const ParsedExpression& iSide) {
        if (flag && iSide.kind == ParsedExpression::kProperty) {
            ListOfMTTString path;
            return iSide.property.Make(_factory, false, path);
        }
        return Build(iSide, operandUse);
    };
    ExpressionOwner left = side(leftNode);
    ExpressionOwner right = side(rightNode);
    return ExpressionOwner((_factory.*MakerOf(iNode.kind))(left.release(), right.release()));
}

ExpressionOwner ExpressionParser::ModelValue(const ParsedExpression& iNode)
{
    return _session.builder.Property(PropertyReference("=" + iNode.Write(_session.options.strict, false), true, {}));
}

ExpressionOwner ExpressionParser::ModelTest(const ParsedExpression& iNode)
{
    const std::string test = "?" + iNode.Write(_session.options.strict, true);
    return _session.builder.Property(PropertyReference(std::string(), true, {test}));
}

ExpressionOwner ExpressionParser::Computed(const ParsedExpression& iNode, Use iUse)
{
    const std::string text = iNode.Write(false, iUse == Use::kCondition);
    const mtt_runtime::Expression::Owner expression = mtt_runtime::ExpressionReader::Read(text);
    if (!expression) throw TemplateSyntaxError(iNode.offset, "cannot compute '" + text + "'");
    NoModel none;
    std::string problem;
    std::string result;
    bool number = false;
    if (iUse == Use::kCondition || !iNode.IsValue()) {
        result = expression->Test(none, problem) ? "true" : "false";
    } else {
        const mtt_runtime::Value value = expression->Evaluate(none, problem);
        result = value.Str();
        number = value.GetKind() == mtt_runtime::Value::kNumber;
    }
    if (!problem.empty()) throw TemplateSyntaxError(iNode.at, problem);
    return _session.builder.Literal(result, number, _use);
}
