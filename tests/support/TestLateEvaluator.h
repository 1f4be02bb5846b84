#ifndef TESTLATEEVALUATOR_H
#define TESTLATEEVALUATOR_H

#include <string>
#include <vector>

#include "MTLILateEvaluator.h"

// Answers with readable call texts and records every call in order:
//   LateProperty("a/b", "n")      -> "prop(a/b,n)"
//   LateListSize("/items")        -> "size(/items)"
//   LateEnterElement("/items", i) -> "enter(/items,index_i)"
//   LateLeaveElement()            -> "leave()"
class TestLateEvaluator : public MTLILateEvaluator {
public:
    MTTString LateProperty(const char* iPath, const char* iName) override;
    MTTString LateListSize(const char* iPath) override;
    MTTString LateEnterElement(const char* iPath, const char* iIndexName) override;
    MTTString LateLeaveElement() override;

    std::vector<std::string> calls;  // the texts returned, in call order
};

#endif
