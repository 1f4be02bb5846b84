#ifndef EXPRESSIONPARSER_H
#define EXPRESSIONPARSER_H

#include <cstddef>
#include <string>

#include "DirectiveToken.h"
#include "NodeBuilder.h"
#include "NodeOwners.h"

class DirectiveLexer;
class MTTNodeFactory;
class SourceText;
struct ParseSession;

// Recursive descent over a directive's tokens, from the loosest binding:
//   or:         and { "||" and }
//   and:        comparison { "&&" comparison }
//   comparison: unary [ ("=="|"!="|"<"|"<="|">"|">=") unary ]
//   unary:      "!" unary | "defined" unary | primary
//   primary:    property | string | number | "true" | "false" | variable | "(" or ")"
// Nodes are built through the factory only. Both the recursion and the
// depth of the built tree are bounded by the nesting limit, so no input can
// exhaust the stack here or later when the tree is walked.
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
    // An expression that yields text: property, string, number or variable.
    // iRole names the use in messages, e.g. "after '='".
    ExpressionOwner ParseValue(const char* iRole, NodeBuilder::Use iUse);

    // [A-Za-z_][A-Za-z0-9_]*: names of variables, functions and
    // parameters, which late evaluation writes into generated code.
    static bool IsIdentifier(const std::string& iWord);

private:
    // The factory function of a binary operator.
    using Make = MTTIExpression* (MTTNodeFactory::*)(MTTIExpression*, MTTIExpression*);
    struct Parsed {
        ExpressionOwner node;
        int depth = 1;         // height of the built tree
        bool isValue = false;  // yields text (not a condition)
        size_t offset = 0;
    };

    Parsed Or();
    Parsed And();
    Parsed Comparison();
    Parsed Unary();
    Parsed Primary();
    // Left-associative: OPERAND (iOperator OPERAND)...
    Parsed Chain(DirectiveToken::Kind iOperator, Parsed (ExpressionParser::*iOperand)(), Make iMake);
    Parsed Combine(Make iMake, Parsed iLeft, Parsed iRight, size_t iOperator);
    void RequireValue(const Parsed& iOperand, const char* iRole) const;
    void RequireGeneratedVariable(const DirectiveToken& iToken) const;
    void Enter(size_t iOffset);

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
