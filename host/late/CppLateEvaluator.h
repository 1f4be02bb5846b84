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

    // iText as a C++ string literal, escaped as the "c" transform escapes
    // (host/runtime/mtt_transform_escapes.h): the one spelling of C++
    // literals in generated code.
    static std::string Literal(const char* iText);

private:
    std::string _modelName;
};

#endif
