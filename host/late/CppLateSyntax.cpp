#include "CppLateSyntax.h"

#include "CppLateEvaluator.h"

std::string CppLateSyntax::StringLiteral(const std::string& iText) const
{
    return CppLateEvaluator::Literal(iText.c_str());
}

std::string CppLateSyntax::ResetInteger(const std::string& iName) const
{
    return iName + " = 0;\n";
}

std::string CppLateSyntax::ResetString(const std::string& iName) const
{
    return iName + " = KORUnicodeString();\n";
}
