// Arbitrary template text through every operation a host performs: parse
// (plainly, strictly, and for late evaluation), dump, normalise, evaluate
// against a small model with a -D style variable, late-evaluate. Included and
// imported files come from memory, so that a run reads no file of the machine.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "CppLateEvaluator.h"
#include "CppLateSyntax.h"
#include "JsonModel.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "TemplateLoader.h"
#include "TemplateParser.h"

namespace {

const char kModel[] = R"({
  "name": "Shop", "version": 3, "open": true, "none": null, "first name": "Ann", "tags": ["red", "green"],
  "classes": [
    {"name": "OrderLine", "UserCode": "// kept", "attributes": [
      {"name": "id", "type": "int"}, {"name": "note", "type": "string"}]},
    {"name": "Item", "UserCode": "", "attributes": []}
  ],
  "empty": [], "nested": {"deeper": {"name": "leaf", "list": [1, "two", null, [3]]}}
})";

// "lib.mtt" holds functions to import, "part.mtt" text to include (itself too,
// which is a cycle); any other name is missing.
class MemoryLoader : public TemplateLoader {
public:
    Result Load(const std::string& iPath, std::string& oText, std::string&) const override
    {
        const std::string name = iPath.substr(iPath.rfind('/') + 1);
        if (name == "lib.mtt") {
            oText = "[% function f(a) %][% if a == \"x\" %]${name|snake}[% else %][%= a %][% end %][% end %]\n";
        } else if (name == "part.mtt") {
            oText = "${name:..}[% foreach tags separator \", \" %]${.|c}${@last}[% end %][% include \"part.mtt\" %]\n";
        } else {
            return Result::kMissing;
        }
        return Result::kLoaded;
    }
};

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

void Evaluate(MTTIStatement* iTree, bool iLate)
{
    CppLateEvaluator evaluator;
    std::unique_ptr<MTTEvaluationEnvironment> environment(iLate ? new MTTEvaluationEnvironment(&evaluator)
                                                                : new MTTEvaluationEnvironment(Model().Root()));
    environment->AddVariable(MTTString("target"), MTTString("linux"), MTTVarString);
    Consume(iLate ? iTree->LateEvaluate(environment.get()) : iTree->Evaluate(environment.get()));
}

std::unique_ptr<MTTIStatement> Parse(const std::string& iSource, bool iLate, bool iStrict)
{
    static const MemoryLoader loader;
    static const CppLateSyntax syntax;
    ParseOptions options;
    options.late = iLate;
    options.lateSyntax = &syntax;
    options.strict = iStrict;
    options.includeDirs = {"lib"};
    options.loader = &loader;
    return std::unique_ptr<MTTIStatement>(TemplateParser("fuzz.mtt", options).Parse(iSource));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    const std::string source(reinterpret_cast<const char*>(iData), iSize);
    if (std::unique_ptr<MTTIStatement> tree = Parse(source, false, false)) {
        tree->ToString();
        Evaluate(tree.get(), false);
        Evaluate(tree.get(), true);
        tree->Normalize();
        Evaluate(tree.get(), false);
    }
    if (std::unique_ptr<MTTIStatement> strict = Parse(source, false, true)) Evaluate(strict.get(), false);
    if (std::unique_ptr<MTTIStatement> late = Parse(source, true, false)) Evaluate(late.get(), true);
    return 0;
}
