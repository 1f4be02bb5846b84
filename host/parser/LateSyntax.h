#ifndef LATESYNTAX_H
#define LATESYNTAX_H

#include <string>

// What the parser must know of the generated language when it parses a
// template for late evaluation; the late evaluator's side supplies it (for
// C++: host/late). Texts are complete, line end included where there is one.
class LateSyntax {
public:
    virtual ~LateSyntax() = default;

    // A string literal of the generated language whose value is iText.
    virtual std::string StringLiteral(const std::string& iText) const = 0;
    // A statement that gives an already declared variable the value a new
    // declaration of that type would give it.
    virtual std::string ResetInteger(const std::string& iName) const = 0;
    virtual std::string ResetString(const std::string& iName) const = 0;
};

#endif
