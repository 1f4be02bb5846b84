#ifndef CPPLATEEVALUATOR_H
#define CPPLATEEVALUATOR_H

#include <string>

#include "MTLILateEvaluator.h"

// Late evaluation into C++ that reads the model at run time through an
// mtt_runtime::Model (host/runtime/mtt_runtime.h) named by the constructor:
//
//   LateProperty("a/b", "name")        mtt_model.Value("a/b", "name")
//   LateListSize("/classes")           mtt_model.Size("/classes")
//   LateEnterElement("x", "index_i")   mtt_model.Enter("x", index_i)
//   LateLeaveElement()                 mtt_model.Leave()
//
// Paths and names become C++ string literals (see Literal); the index name
// is a variable of the generated loop and is written as it is. Null texts
// count as empty.
class CppLateEvaluator : public MTLILateEvaluator {
public:
    // iModelName: the runtime object's name in the generated code.
    explicit CppLateEvaluator(std::string iModelName = "mtt_model");

    MTTString LateProperty(const char* iPath, const char* iName) override;
    MTTString LateListSize(const char* iPath) override;
    MTTString LateEnterElement(const char* iPath, const char* iIndexName) override;
    MTTString LateLeaveElement() override;

    // iText as a C++ string literal: '"' and '\\' get a backslash, line
    // feed, tab and carriage return their letter escapes, other control
    // bytes three-digit octal escapes (which cannot swallow a following
    // digit the way hexadecimal ones do); everything else is kept.
    static std::string Literal(const char* iText);

private:
    std::string _modelName;
};

#endif
