// The two evaluation modes agree: the example's code template, late-evaluated
// into C++, compiled and run against a model, prints exactly what the
// example's text template prints when evaluated immediately against it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "CppLateEvaluator.h"
#include "JsonModel.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "StreamCapture.h"
#include "TemplateParser.h"

namespace {

namespace fs = std::filesystem;

const std::string kExampleDir = std::string(MTT_SOURCE_DIR) + "/examples/late/";

// Texts the generated program must print byte for byte like the adapter:
// quotes, backslashes, line feeds, numbers, booleans, null, missing and
// non-scalar members, an empty list, a missing list; numbers compared as
// text (1.0 is not 1).
const char* const kAwkwardModel = R"({"classes": [
  {"name": "Q\"uote\\d", "attributes": [
    {"name": "tab\there", "type": "line\nfeed", "key": "1"},
    {"name": "n", "type": 1e10, "key": 1.0}, {"name": "i", "type": -3, "key": true}, {"name": "b", "type": true},
    {"name": "z", "type": null}, {"name": "untyped"}, {"name": {"deep": 1}, "type": "int", "key": 1},
    {"name": "u", "type": "\u00e9\u0000hidden"}]},
  {"name": "", "attributes": []}, {"name": "none"},
  {"name": "S", "attributes": [{"name": "s", "type": "string"}]}]})";

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

// Parses, evaluates (late with iLate, else against iModel), and returns the text;
// the library must report nothing on the way.
std::string Generate(const std::string& iTemplate, MTLILateEvaluator* iLate, MTLIModelObject* iModel)
{
    TemplateParser parser(iTemplate);
    std::unique_ptr<MTTIStatement> tree(parser.Parse(ReadText(kExampleDir + iTemplate)));
    EXPECT_TRUE(tree) << parser.Errors();
    if (!tree) return std::string();
    StreamCapture capture;
    std::unique_ptr<MTTEvaluationEnvironment> environment(
        iLate != nullptr ? new MTTEvaluationEnvironment(iLate) : new MTTEvaluationEnvironment(iModel));
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
    std::string code = Generate("report.cpp.mtt", &late, nullptr);
    ASSERT_NE(std::string::npos, code.find("mtt_model.Enter(\"/classes\", index_i);\n")) << code;
    // A model object as a condition must compile.
    ASSERT_NE(std::string::npos, code.find("if (mtt_model.Value(\"attributes\", \"\")) {\n")) << code;
    WriteText(dir + "/report.inc", code);
    const std::string program = dir + "/report";
    const std::string compile = "g++ -std=c++17 -Wall -Wextra -Werror -I" + dir + " -I" MTT_SOURCE_DIR "/host/runtime " +
                                kExampleDir + "main.cpp -o " + program + " 2>" + dir + "/compile.log";
    ASSERT_EQ(0, std::system(compile.c_str())) << ReadText(dir + "/compile.log") << "\n" << code;

    WriteText(dir + "/awkward.json", kAwkwardModel);
    for (const std::string& modelPath : {kExampleDir + "model.json", dir + "/awkward.json"}) {
        SCOPED_TRACE(modelPath);
        std::string error;
        std::unique_ptr<JsonModel> model = JsonModel::LoadFile(modelPath, error);
        ASSERT_TRUE(model) << error;
        std::string expected = Generate("report.txt.mtt", nullptr, model->Root());
        EXPECT_NE(std::string::npos, expected.find("has numeric attributes"));
        EXPECT_EQ(expected, RunAndRead(program + " " + modelPath + " 2>" + dir + "/run.log"));
        EXPECT_EQ("", ReadText(dir + "/run.log"));
    }
    fs::remove_all(dir);
}
