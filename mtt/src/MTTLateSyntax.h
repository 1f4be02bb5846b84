#ifndef MTTLATESYNTAX_H
#define MTTLATESYNTAX_H

#include "MTTString.h"

// The vocabulary of the code that late evaluation writes, in one place:
// every piece of generated code that the library adds of its own comes from
// here (the late evaluator supplies how the code reaches model data).
class MTTLateSyntax {
public:
    // The index of every generated loop; nested loops reuse it, each loop in
    // a block of its own.
    static constexpr char kLoopIndex[] = "index_i";
    // The head of a counted loop over iSize elements that makes element
    // index_i current with iEnter:
    // "{for (int index_i = 0; index_i < <size>; index_i++) { \n<enter>;\n".
    static MTTString LoopHead(const MTTString& iSize, const MTTString& iEnter);
    // The end of that loop, iLeave making the previous object current again:
    // "<leave>;\n}}\n".
    static MTTString LoopEnd(const MTTString& iLeave);

    // Before the condition of a generated conditional: "if (".
    static constexpr char kIfOpen[] = "if (";
    // Between the condition and the then-part: ") {\n".
    static constexpr char kIfThen[] = ") {\n";
    // Between the then-part and a non-empty else-part: "} else {\n".
    static constexpr char kIfElse[] = "} else {\n";
    // After the last part: "}\n".
    static constexpr char kIfClose[] = "}\n";

    // A variable declaration: "int <name> = 0;\n" for an integer,
    // "KORUnicodeString <name>;\n" for a string.
    static MTTString Declaration(const MTTString& iName, bool iInteger);
    // The value a declared integer variable starts with, in both modes: "0".
    static constexpr char kIntegerInitialValue[] = "0";
    // The separator that an immediate "|=" puts before each operand, so that
    // the value is an or-expression for the generated code: "|".
    static constexpr char kFlagSeparator[] = "|";
    // A late "|=": "<name>|=<operand>;\n".
    static MTTString OrEquals(const MTTString& iName, const MTTString& iOperand);

    // A two-operand condition, always parenthesised: "( <lhs> <op> <rhs> )".
    static MTTString BinaryOperation(const MTTString& iLhs, const char* iOperator, const MTTString& iRhs);
    // A quoted string literal, unescaped: "\"<text>\"".
    static MTTString Quoted(const MTTString& iText);
};

#endif
