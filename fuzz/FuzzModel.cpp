// Arbitrary JSON, and the same bytes as YAML, as the model of a fixed
// template that walks it every way a template can: properties with
// transforms, quoted members, the element itself, loop values, the enclosing
// object, indexes, loops with separators, conditions, user code. The late runtime that generated programs use reads
// the same document and answers the same names. Whatever JSON or YAML the
// one-pass readers take, the careful and the general reader must report
// alike.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "CarefulJsonEvents.h"
#include "JsonEventLog.h"
#include "JsonModel.h"
#include "JsonTextReader.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "TemplateParser.h"
#include "YamlBlockReader.h"
#include "YamlReader.h"
#include "mtt_runtime.h"

namespace {

const char kTemplate[] =
    "[% foreach classes separator \",\\n\" %]class ${name|snake} ${name:this} ${x:/meta} ${\"first name\"|pascal:..} {\n"
    "[% foreach attributes %][% if ${type} == \"string\" || defined ${name:sub} %]S[% else %]${type|c}"
    "[% end %] ${name|camel|upper};${@index}/${@count} ${@last} ${name:../..}\n[% end %]"
    "[% usercode %][% usercode /meta %]}[% end %]\n"
    "[% foreach /list %]${a}[% foreach this %]${.}${.|shell}${\"$ref\"}${@first}[% end %][% end %]${.:/list/0/1}";

MTTIStatement* Tree()
{
    static std::unique_ptr<MTTIStatement> tree(TemplateParser("model.mtt").Parse(kTemplate));
    return tree.get();
}

// What the generated code of the template above would ask, in the order it would.
void Runtime(const std::string& iText)
{
    mtt_runtime::Model model;
    std::string error;
    if (!model.LoadText(iText, "fuzz.json", error)) return;
    for (int i = 0, size = model.Size("classes"); i < size; ++i) {
        model.Enter("classes", i);
        std::string text = model.Value("", "name|snake");
        text += model.Value("..", "\"first name\"|pascal");
        for (int j = 0, count = model.Size("attributes"); j < count; ++j) {
            model.Enter("attributes", j);
            text += model.Value("", "type|c");
            text += model.Value("../..", "name");
            if (model.Value("", "@last") == true) text += model.Value("", "@count");
            model.Leave();
        }
        text += model.Value("", "UserCode");
        model.Leave();
    }
    std::string element = model.Value("/list/0/1", ".|shell");
}

void Render(JsonModel* iModel)
{
    if (iModel == nullptr || Tree() == nullptr) return;
    MTTEvaluationEnvironment environment(iModel->Root());
    MTTEvaluationOutput* output = Tree()->Evaluate(&environment);
    if (output != nullptr) {
        MTTString text;
        output->toString(text);
        delete output;
    }
}

void JsonReadersAgree(const std::string& iText)
{
    JsonEventLog quick;
    if (!JsonTextReader::Read(iText.data(), iText.size(), quick)) return;
    JsonEventLog careful;
    if (!CarefulJsonEvents::Hear(iText, careful) || careful.text != quick.text) {
        std::fprintf(stderr, "the JSON readers disagree\n");
        std::abort();
    }
}

void YamlReadersAgree(const std::string& iText)
{
    JsonEventLog quick;
    if (!YamlBlockReader::Read(iText, quick)) return;
    JsonEventLog general;
    std::string error;
    if (!YamlReader::Read(iText, "fuzz.yaml", general, error) || general.text != quick.text) {
        std::fprintf(stderr, "the YAML readers disagree: %s\n", error.c_str());
        std::abort();
    }
}

// Read from a file in small chunks (of 1 to 8 bytes, by the text's size),
// each one-pass reader takes what it takes from the whole text, and hears
// the same.
void ChunksAgree(const std::string& iText)
{
    if (iText.empty()) return;
    const std::size_t chunk = 1 + iText.size() % 8;
    const auto agree = [&](const char* iWhat, auto iWhole, auto iChunked) {
        JsonEventLog whole;
        JsonEventLog chunked;
        std::FILE* file = fmemopen(const_cast<char*>(iText.data()), iText.size(), "r");
        if (file == nullptr) return;
        const bool taken = iWhole(whole);
        const bool chunkedTaken = iChunked(file, chunked);
        std::fclose(file);
        if (taken != chunkedTaken || (taken && whole.text != chunked.text)) {
            std::fprintf(stderr, "the %s reader reads a file in chunks of %zu otherwise\n", iWhat, chunk);
            std::abort();
        }
    };
    agree(
        "JSON", [&](JsonEventLog& oLog) { return JsonTextReader::Read(iText.data(), iText.size(), oLog); },
        [&](std::FILE* iFile, JsonEventLog& oLog) { return JsonTextReader::Read(iFile, oLog, chunk); });
    agree(
        "YAML", [&](JsonEventLog& oLog) { return YamlBlockReader::Read(iText, oLog); },
        [&](std::FILE* iFile, JsonEventLog& oLog) { return YamlBlockReader::Read(iFile, oLog, chunk); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    // The runtime reports missing paths on std::cerr; a fuzz run needs none of them.
    static std::streambuf* const silenced = std::cerr.rdbuf(nullptr);
    (void)silenced;
    const std::string text(reinterpret_cast<const char*>(iData), iSize);
    Runtime(text);
    std::string error;
    // The same bytes as JSON, then as YAML, whose reader keeps anchors and
    // merges aside.
    Render(JsonModel::FromText(text, "fuzz.json", error).get());
    Render(JsonModel::FromYamlText(text, "fuzz.yaml", error).get());
    JsonReadersAgree(text);
    YamlReadersAgree(text);
    ChunksAgree(text);
    return 0;
}
