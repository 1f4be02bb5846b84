// The two evaluation modes agree: a code template, late-evaluated into C++,
// compiled and run against a model, prints exactly what its text template
// prints when evaluated immediately against that model. The pairs: the late
// example's report; agreement/constructs, which uses every construct that
// has a late form; agreement/language, the transforms with arguments,
// arithmetic, selections, optional lists and the truth of values, also over
// thousands of elements; and the SQL example with its late form
// agreement/schema. They are compiled into one program.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CppLateEvaluator.h"
#include "CppLateSyntax.h"
#include "JsonModel.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "StreamCapture.h"
#include "TemplateParser.h"

namespace {

namespace fs = std::filesystem;

const std::string kExampleDir = std::string(MTT_SOURCE_DIR) + "/examples/late/";
const std::string kSqlDir = std::string(MTT_SOURCE_DIR) + "/examples/sql-ddl/";
const std::string kAgreementDir = std::string(MTT_TEST_DATA_DIR) + "/model/agreement/";

// Texts the generated program must print byte for byte like the adapter:
// quotes, backslashes, line feeds, numbers, booleans, null, missing and
// non-scalar members, an empty list, a missing list; numbers compared as
// text (1.0 is not 1).
const char* const kAwkwardModel = R"({"classes": [
  {"name": "Q\"uote\\d", "attributes": [
    {"name": "tab\there", "type": "line\nfeed", "key": "1"},
    {"name": "n", "type": 1e10, "key": 1.0}, {"name": "i", "type": -3, "key": true}, {"name": "b", "type": true},
    {"name": "z", "type": null}, {"name": "untyped"}, {"name": {"deep": 1}, "type": "int", "key": 1},
    {"name": "u", "type": "\u00e9"}]},
  {"name": "", "attributes": []}, {"name": "none"},
  {"name": "S", "attributes": [{"name": "s", "type": "string"}]}]})";
// Whatever constructs.txt.mtt reads, missing or empty.
const char* const kSparseModel = R"({"tags": ["", "b"], "classes": [{"attributes": [{}]}]})";

// Thousands of fields for language.txt.mtt, in no order, with equal keys.
std::string ThousandsModel()
{
    std::string json = R"({"name": "big", "count": 5000, "fields": [)";
    for (int i = 0; i < 5000; ++i) {
        json += std::string(i == 0 ? "" : ",") + R"({"name": "f)" + std::to_string(i) + R"(", "group": "g)" +
                std::to_string(i % 7) + R"(", "size": )" + std::to_string((i * 7919) % 1000 - 100) +
                R"(, "required": )" + (i % 3 == 0 ? "true" : "false") + (i % 5 == 0 ? R"(, "doc": "d\ne")" : "") + "}";
    }
    return json + "]}";
}

std::string ReadText(const std::string& iPath)
{
    std::ifstream in(iPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& iPath, const std::string& iText)
{
    std::ofstream(iPath, std::ios::binary) << iText;
}

// Parses the template file iPath (for late evaluation with iLate), evaluates it
// (late with iLate, else against iModel) with the variable target=linux set as
// mttgen -D sets it, and returns the text; the library must report nothing on
// the way.
std::string Generate(const std::string& iPath, MTLILateEvaluator* iLate, MTLIModelObject* iModel)
{
    static const CppLateSyntax syntax;
    ParseOptions options;
    options.late = iLate != nullptr;
    options.lateSyntax = &syntax;
    TemplateParser parser(iPath, options);
    std::unique_ptr<MTTIStatement> tree(parser.ParseFile());
    EXPECT_TRUE(tree) << parser.Errors();
    if (!tree) return std::string();
    StreamCapture capture;
    std::unique_ptr<MTTEvaluationEnvironment> environment(iLate != nullptr ? new MTTEvaluationEnvironment(iLate)
                                                                           : new MTTEvaluationEnvironment(iModel));
    environment->AddVariable(MTTString("target"), MTTString("linux"), MTTVarString);
    std::unique_ptr<MTTEvaluationOutput> output(iLate != nullptr ? tree->LateEvaluate(environment.get())
                                                                 : tree->Evaluate(environment.get()));
    MTTString text;
    if (output) output->toString(text);
    EXPECT_TRUE(output);
    EXPECT_EQ("", capture.Out());
    EXPECT_EQ("", capture.Err());
    return text.ConvertToChar();
}

std::string RunAndRead(const std::string& iCommand)
{
    std::string output;
    FILE* pipe = popen(iCommand.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    EXPECT_EQ(0, pclose(pipe)) << iCommand;
    return output;
}

}  // namespace

TEST(LateAgreement, CompiledLateCodePrintsWhatImmediateEvaluationPrints)
{
    if (std::system("g++ --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "g++ is not installed";

    char pattern[] = "/tmp/mtt-late-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    const std::string dir = pattern;

    CppLateEvaluator late;
    const std::string report = Generate(kExampleDir + "report.cpp.mtt", &late, nullptr);
    // A model object as a condition must compile.
    ASSERT_NE(std::string::npos, report.find("if (mtt_model.Value(\"attributes\", \"\")) {\n")) << report;
    WriteText(dir + "/report.inc", report);
    for (const std::string name : {"constructs", "schema", "language"}) {
        WriteText(dir + "/" + name + ".inc", Generate(kAgreementDir + name + ".cpp.mtt", &late, nullptr));
    }
    const std::string program = dir + "/agreement";
    const std::string compile = "g++ -std=c++17 -Wall -Wextra -Werror -I" + dir +
                                " -I" MTT_SOURCE_DIR "/host/runtime " + kAgreementDir + "main.cpp -o " + program +
                                " 2>" + dir + "/compile.log";
    ASSERT_EQ(0, std::system(compile.c_str())) << ReadText(dir + "/compile.log");

    WriteText(dir + "/awkward.json", kAwkwardModel);
    WriteText(dir + "/sparse.json", kSparseModel);
    WriteText(dir + "/thousands.json", ThousandsModel());
    const struct {
        const char* name;
        std::string textTemplate;
        std::vector<std::string> models;
    } pairs[] = {{"report", kExampleDir + "report.txt.mtt", {kExampleDir + "model.json", dir + "/awkward.json"}},
                 {"constructs",
                  kAgreementDir + "constructs.txt.mtt",
                  {kAgreementDir + "model.json", dir + "/sparse.json"}},
                 {"schema", kSqlDir + "schema.sql.mtt", {kSqlDir + "model.json"}},
                 {"language",
                  kAgreementDir + "language.txt.mtt",
                  {kAgreementDir + "language.json", dir + "/sparse.json", dir + "/thousands.json"}}};
    for (const auto& pair : pairs) {
        for (const std::string& modelPath : pair.models) {
            SCOPED_TRACE(modelPath);
            std::string error;
            std::unique_ptr<JsonModel> model = JsonModel::LoadFile(modelPath, error);
            ASSERT_TRUE(model) << error;
            const std::string expected = Generate(pair.textTemplate, nullptr, model->Root());
            EXPECT_NE("", expected);
            EXPECT_EQ(expected, RunAndRead(program + " " + pair.name + " " + modelPath + " 2>" + dir + "/run.log"));
            EXPECT_EQ("", ReadText(dir + "/run.log"));
        }
    }
    fs::remove_all(dir);
}
