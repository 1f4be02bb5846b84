#ifndef EXPRESSIONPARSER_H
#define EXPRESSIONPARSER_H

#include <cstddef>
#include <string>

#include "NodeOwners.h"

class DirectiveLexer;
class MTTNodeFactory;
class SourceText;

// Recursive descent over a directive's tokens, from the loosest binding:
//   or:         and { "||" and }
//   and:        comparison { "&&" comparison }
//   comparison: unary [ ("=="|"!="|"<"|"<="|">"|">=") unary ]
//   unary:      "!" unary | "defined" unary | primary
//   primary:    property | string | number | variable | "(" or ")"
// Nodes are built through the factory only. Both the recursion and the
// depth of the built tree are bounded by the nesting limit, so no input can
// exhaust the stack here or later when the tree is walked.
class ExpressionParser {
public:
    ExpressionParser(MTTNodeFactory& iFactory, DirectiveLexer& iLexer, const SourceText& iSource);

    // Any expression (a condition, or a value used as one).
    ExpressionOwner ParseCondition();
    // An expression that yields text: property, string, number or variable.
    // iRole names the use in the message, e.g. "after '='".
    ExpressionOwner ParseValue(const char* iRole);

    // [A-Za-z_][A-Za-z0-9_]*: names of variables, functions and
    // parameters, which late evaluation writes into generated code.
    static bool IsIdentifier(const std::string& iWord);
    // Directive words and "defined", which cannot name a variable.
    static bool IsReserved(const std::string& iWord);

private:
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
    Parsed Combine(MTTIExpression* (MTTNodeFactory::*iMake)(MTTIExpression*, MTTIExpression*), Parsed iLeft,
                   Parsed iRight, size_t iOperator);
    void RequireValue(const Parsed& iOperand, const char* iRole) const;
    void Enter(size_t iOffset);

    MTTNodeFactory& _factory;
    DirectiveLexer& _lexer;
    const SourceText& _source;
    int _recursion;
};

#endif
