// Arbitrary template text through every operation a host performs: parse,
// dump, normalise, evaluate against a small model, late-evaluate.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "CppLateEvaluator.h"
#include "JsonModel.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "TemplateParser.h"

namespace {

const char kModel[] = R"({
  "name": "Shop", "version": 3, "open": true, "none": null,
  "classes": [
    {"name": "Order", "UserCode": "// kept", "attributes": [
      {"name": "id", "type": "int"}, {"name": "note", "type": "string"}]},
    {"name": "Item", "UserCode": "", "attributes": []}
  ],
  "empty": [], "nested": {"deeper": {"name": "leaf", "list": [1, "two", null, [3]]}}
})";

JsonModel& Model()
{
    static std::unique_ptr<JsonModel> model = [] {
        std::string error;
        return JsonModel::FromText(kModel, "fuzz.json", error);
    }();
    return *model;
}

void Consume(MTTEvaluationOutput* iOutput)
{
    if (iOutput == nullptr) return;
    MTTString text;
    iOutput->toString(text);
    delete iOutput;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    std::string source(reinterpret_cast<const char*>(iData), iSize);
    TemplateParser parser("fuzz.mtt");
    MTTIStatement* tree = parser.Parse(source);
    if (tree == nullptr) return 0;
    tree->ToString();
    {
        MTTEvaluationEnvironment environment(Model().Root());
        Consume(tree->Evaluate(&environment));
    }
    {
        CppLateEvaluator evaluator;
        MTTEvaluationEnvironment environment(&evaluator);
        Consume(tree->LateEvaluate(&environment));
    }
    tree->Normalize();
    {
        MTTEvaluationEnvironment environment(Model().Root());
        Consume(tree->Evaluate(&environment));
    }
    delete tree;
    return 0;
}
