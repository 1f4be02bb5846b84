#ifndef CPPLATESYNTAX_H
#define CPPLATESYNTAX_H

#include <string>

#include "../parser/LateSyntax.h"

// The C++ that the parser writes itself when it prepares a template for late
// evaluation: literals as CppLateEvaluator spells them, and resets of
// variables declared as the library declares them (int, KORUnicodeString
// from host/runtime/mtt_runtime.h).
class CppLateSyntax : public LateSyntax {
public:
    std::string StringLiteral(const std::string& iText) const override;
    std::string ResetInteger(const std::string& iName) const override;
    std::string ResetString(const std::string& iName) const override;
};

#endif
