#include "MTTLateSyntax.h"

namespace {

// The end of every generated statement.
const char kStatementEnd[] = ";\n";

}  // namespace

MTTString MTTLateSyntax::LoopHead(const MTTString& iSize, const MTTString& iEnter)
{
    MTTString head("{for (int ");
    head.Append(kLoopIndex).Append(" = 0; ").Append(kLoopIndex).Append(" < ");
    head.Append(iSize);
    head.Append("; ").Append(kLoopIndex).Append("++) { \n");
    head.Append(iEnter);
    head.Append(kStatementEnd);
    return head;
}

MTTString MTTLateSyntax::LoopEnd(const MTTString& iLeave)
{
    MTTString end(iLeave);
    end.Append(kStatementEnd).Append("}}\n");
    return end;
}

MTTString MTTLateSyntax::Declaration(const MTTString& iName, bool iInteger)
{
    MTTString text(iInteger ? "int " : "KORUnicodeString ");
    text.Append(iName);
    if (iInteger) text.Append(" = ").Append(kIntegerInitialValue);
    text.Append(kStatementEnd);
    return text;
}

MTTString MTTLateSyntax::OrEquals(const MTTString& iName, const MTTString& iOperand)
{
    MTTString text(iName);
    text.Append("|=", 2).Append(iOperand).Append(kStatementEnd, 2);
    return text;
}

MTTString MTTLateSyntax::BinaryOperation(const MTTString& iLhs, const char* iOperator, const MTTString& iRhs)
{
    MTTString result("( ");
    result.Append(iLhs);
    result.Append(" ").Append(iOperator).Append(" ");
    result.Append(iRhs);
    result.Append(" )");
    return result;
}

MTTString MTTLateSyntax::Quoted(const MTTString& iText)
{
    MTTString quoted;
    quoted.Reserve(iText.Length() + 2);
    quoted.Append("\"", 1).Append(iText).Append("\"", 1);
    return quoted;
}
