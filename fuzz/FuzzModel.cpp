// Arbitrary JSON as the model of a fixed template that walks it every way a
// template can: properties, loops, conditions, user code.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "JsonModel.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "TemplateParser.h"

namespace {

const char kTemplate[] =
    "[% foreach classes %]class ${name} ${name:this} ${x:/meta} {\n"
    "[% foreach attributes %][% if ${type} == \"string\" || defined ${name:sub} %]S[% else %]${type}"
    "[% end %] ${name};\n[% end %][% usercode %][% usercode /meta %]};\n[% end %]"
    "[% foreach /list %]${a}[% foreach this %]${b}[% end %][% end %]";

MTTIStatement* Tree()
{
    static std::unique_ptr<MTTIStatement> tree(TemplateParser("model.mtt").Parse(kTemplate));
    return tree.get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    std::string error;
    std::unique_ptr<JsonModel> model =
        JsonModel::FromText(std::string(reinterpret_cast<const char*>(iData), iSize), "fuzz.json", error);
    if (!model || Tree() == nullptr) return 0;
    MTTEvaluationEnvironment environment(model->Root());
    MTTEvaluationOutput* output = Tree()->Evaluate(&environment);
    if (output != nullptr) {
        MTTString text;
        output->toString(text);
        delete output;
    }
    return 0;
}
