#ifndef EXPRESSIONPARSER_H
#define EXPRESSIONPARSER_H

#include <cstddef>
#include <string>

#include "DirectiveToken.h"
#include "NodeBuilder.h"
#include "NodeOwners.h"
#include "ParsedExpression.h"

class DirectiveLexer;
class MTTNodeFactory;
class SourceText;
struct ParseSession;

// Recursive descent over a directive's tokens, from the loosest binding:
//   or:         and { "||" and }
//   and:        comparison { "&&" comparison }
//   comparison: sum [ ("=="|"!="|"<"|"<="|">"|">=") sum ]
//   sum:        product { ("+"|"-") product }
//   product:    unary { ("*"|"/"|"%") unary }
//   unary:      "!" unary | "defined" unary | "-" unary | postfix
//   postfix:    primary { "|" transform [ "(" value { "," value } ")" ] }
//   primary:    property | string | number | "true" | "false" | variable | "(" or ")"
// into a ParsedExpression, which then becomes library nodes. What the
// library cannot do is handed to the model as one expression, in a property
// (host/runtime/mtt_value_ref.h):
//   arithmetic, a transform in a directive   ${=EXPRESSION}, a value
//   a value's truth, "<" "<=" ">" ">=", and in generated code "!" and
//   "defined" over the model                 ${:?EXPRESSION}, whose path
//                                             reaches an object when true
// Those made only of literals are computed now. The library keeps the rest:
// variables, "==" and "!=", "&&" and "||", and conditions on variables.
// Nodes are built through the factory only. Both the recursion and the
// height of the parsed tree are bounded by the nesting limit, so no input
// can exhaust the stack here or later when the tree is walked.
//
// For late evaluation the use of the expression decides the form of its
// literals (NodeBuilder::Use) and what has no late form and is refused.
class ExpressionParser {
public:
    ExpressionParser(ParseSession& ioSession, DirectiveLexer& iLexer, const SourceText& iSource);

    // The condition of "if" or "elif". Late, a condition that reads the
    // model becomes generated code.
    ExpressionOwner ParseCondition();
    // An argument of "call": any expression, read while generating.
    ExpressionOwner ParseArgument();
    // An expression that yields text: property, string, number, variable,
    // arithmetic or a transform. iRole names the use in messages, e.g.
    // "after '='".
    ExpressionOwner ParseValue(const char* iRole, NodeBuilder::Use iUse);
    // The condition ("where") or a key ("sort") of a loop's selection, as the
    // text the model reads: the model evaluates it on each element, so it
    // cannot read variables. iClause names it in messages.
    std::string ParseModelCondition(const char* iClause);
    std::string ParseModelValue(const char* iClause);

    // [A-Za-z_][A-Za-z0-9_]*: names of variables, functions and
    // parameters, which late evaluation writes into generated code.
    static bool IsIdentifier(const std::string& iWord);

private:
    using Node = ParsedExpression::Owner;
    using Kind = ParsedExpression::Kind;
    struct Parsed {
        Node node;
        int depth = 1;  // height of the tree
    };
    // How a built node is used.
    enum class Use { kValue, kCondition };

    Parsed Or();
    Parsed And();
    Parsed Comparison();
    Parsed Sum();
    Parsed Product();
    Parsed Unary();
    Parsed Postfix();
    Parsed Primary();
    // Left-associative: OPERAND (operator OPERAND)...; iKindOf gives the
    // kind of the next token as an operator, or false.
    Parsed Chain(Parsed (ExpressionParser::*iOperand)(), bool (ExpressionParser::*iKindOf)(Kind&), bool iValues);
    bool LogicalOr(Kind& oKind);
    bool LogicalAnd(Kind& oKind);
    bool Additive(Kind& oKind);
    bool Multiplicative(Kind& oKind);
    Parsed Combine(Kind iKind, Parsed iLeft, Parsed iRight, size_t iOperator);
    void RequireValue(const ParsedExpression& iOperand, const char* iRole) const;
    void RequireGeneratedVariable(const DirectiveToken& iToken) const;
    void Enter(size_t iOffset);

    // The library nodes of a parsed expression.
    ExpressionOwner Build(const ParsedExpression& iNode, Use iUse);
    // A property that the model answers: "=TEXT" as its value, or "?TEXT"
    // as its path.
    ExpressionOwner ModelValue(const ParsedExpression& iNode);
    ExpressionOwner ModelTest(const ParsedExpression& iNode);
    // iNode, which reads no model, computed now; throws what goes wrong.
    ExpressionOwner Computed(const ParsedExpression& iNode, Use iUse);
    // Throws when iNode reads a variable, which the model cannot see.
    void RequireModelOnly(const ParsedExpression& iNode, const std::string& iWhat) const;
    std::string ModelText(Parsed iParsed, const char* iClause, bool iCondition);

    ParseSession& _session;
    MTTNodeFactory& _factory;
    DirectiveLexer& _lexer;
    const SourceText& _source;
    int _recursion;
    NodeBuilder::Use _use;
    // Late: the condition becomes generated code.
    bool _generatedCondition;
    // Late: why a property cannot be read here, or null where it can.
    const char* _noLateProperty;
};

#endif
