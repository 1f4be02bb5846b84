// Runs every template in golden/: <case>.mtt is parsed with the file name
// "<case>.mtt", then compared with whichever of these exist:
//   <case>.err   the exact error text (the parse must fail)
//   <case>.dump  ToString() of the tree (one trailing line feed ignored)
//   <case>.out   the text of an immediate evaluation, against <case>.json
//                when it exists, else Model() below
//   <case>.late  the text of a late evaluation with TestLateEvaluator, of
//                the tree parsed for late evaluation
// A case named "strict-..." is parsed strictly, one named "late-..." for
// late evaluation (its .dump and .err too), except for its .out, which shows
// what the same template gives immediately. Included files are
// read from golden/ (golden/inc/lib is the search directory); evaluations
// must print nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FileTemplateLoader.h"
#include "JsonModel.h"
#include "LateSyntax.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "StreamCapture.h"
#include "TemplateParser.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"

namespace {

const std::string kDir = std::string(MTT_TEST_DATA_DIR) + "/parser/golden/";

bool ReadFile(const std::string& iPath, std::string& oText)
{
    std::ifstream in(iPath, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    oText = text.str();
    return true;
}

// Literals quoted as in C; resets as assignments.
class GoldenLateSyntax : public LateSyntax {
public:
    std::string StringLiteral(const std::string& iText) const override
    {
        std::string literal = "\"";
        for (char c : iText) {
            literal += c == '"' || c == '\\' ? std::string("\\") + c : c == '\n' ? "\\n" : std::string(1, c);
        }
        return literal + "\"";
    }
    std::string ResetInteger(const std::string& iName) const override { return iName + " = 0;\n"; }
    std::string ResetString(const std::string& iName) const override { return iName + " = KORUnicodeString();\n"; }
};

class GoldenLoader : public FileTemplateLoader {
public:
    Result Load(const std::string& iPath, std::string& oText, std::string& oError) const override
    {
        return FileTemplateLoader::Load(kDir + iPath, oText, oError);
    }
};

std::unique_ptr<MTTIStatement> Parse(const std::string& iCase, const std::string& iSource, bool iLate,
                                     std::string& oErrors)
{
    static const GoldenLateSyntax syntax;
    static const GoldenLoader loader;
    ParseOptions options;
    options.late = iLate;
    options.lateSyntax = &syntax;
    options.strict = iCase.compare(0, 7, "strict-") == 0;
    options.includeDirs = {"inc/lib"};
    options.loader = &loader;
    TemplateParser parser(iCase + ".mtt", options);
    std::unique_ptr<MTTIStatement> root(parser.Parse(iSource));
    oErrors = parser.Errors();
    return root;
}

std::vector<std::string> Cases()
{
    std::vector<std::string> cases;
    if (DIR* dir = opendir(kDir.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".mtt") == 0)
                cases.push_back(name.substr(0, name.size() - 4));
        }
        closedir(dir);
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

// root: name=Shop, version=2, meta {author=Ann}, empty list "none",
// classes [ Order (abstract=false, UserCode "  // order\n"),
//           Item (abstract=true, UserCode "") ]
std::unique_ptr<TestObject> Model()
{
    std::unique_ptr<TestObject> root(new TestObject());
    root->Set("name", "Shop").Set("version", "2");
    root->AddObject("meta").Set("author", "Ann");
    root->AddList("none");
    TestObject& classes = root->AddList("classes");
    TestObject& order = classes.AddElement();
    order.Set("name", "Order").Set("abstract", "false");
    order.AddScalar("UserCode", "  // order\n");
    TestObject& item = classes.AddElement();
    item.Set("name", "Item").Set("abstract", "true");
    item.AddScalar("UserCode", "");
    return root;
}

std::string Evaluate(MTTIStatement* iRoot, MTTEvaluationEnvironment& ioEnvironment, bool iLate)
{
    StreamCapture capture;
    MTTEvaluationOutput* output = iLate ? iRoot->LateEvaluate(&ioEnvironment) : iRoot->Evaluate(&ioEnvironment);
    capture.Stop();
    EXPECT_EQ(capture.Out() + capture.Err(), "");
    if (output == nullptr) return "<no output>";
    MTTString text;
    output->toString(text);
    delete output;
    return text.ConvertToChar();
}

// With MTT_UPDATE_GOLDEN set, expected files are rewritten instead of compared.
void Expect(const std::string& iPath, const std::string& iActual, const std::string& iExpected)
{
    if (std::getenv("MTT_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(iPath, std::ios::binary) << iActual;
        return;
    }
    EXPECT_EQ(iActual, iExpected) << iPath;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, Matches)
{
    const std::string base = kDir + GetParam();
    std::string source, expected;
    ASSERT_TRUE(ReadFile(base + ".mtt", source));
    std::string errors;
    const bool lateCase = GetParam().compare(0, 5, "late-") == 0;
    std::unique_ptr<MTTIStatement> root = Parse(GetParam(), source, lateCase, errors);
    bool checked = false;

    if (ReadFile(base + ".err", expected) || (!root && std::getenv("MTT_UPDATE_GOLDEN") != nullptr)) {
        EXPECT_EQ(root, nullptr);
        Expect(base + ".err", errors, expected);
        return;
    }
    ASSERT_NE(root, nullptr) << errors;
    EXPECT_EQ(errors, "");
    if (ReadFile(base + ".dump", expected)) {
        Expect(base + ".dump", std::string(root->ToString().ConvertToChar()) + "\n", expected);
        checked = true;
    }
    if (ReadFile(base + ".out", expected)) {
        std::unique_ptr<MTTIStatement> immediate = lateCase ? Parse(GetParam(), source, false, errors) : nullptr;
        ASSERT_TRUE(immediate || !lateCase) << errors;
        std::unique_ptr<TestObject> model;
        std::unique_ptr<JsonModel> json;
        if (std::ifstream(base + ".json")) {
            json = JsonModel::LoadFile(base + ".json", errors);
            ASSERT_TRUE(json) << errors;
        } else {
            model = Model();
        }
        MTTEvaluationEnvironment environment(json ? json->Root() : model.get());
        Expect(base + ".out", Evaluate(immediate ? immediate.get() : root.get(), environment, false), expected);
        checked = true;
    }
    if (ReadFile(base + ".late", expected)) {
        std::unique_ptr<MTTIStatement> late = Parse(GetParam(), source, true, errors);
        ASSERT_NE(late, nullptr) << errors;
        TestLateEvaluator evaluator;
        MTTEvaluationEnvironment environment(&evaluator);
        Expect(base + ".late", Evaluate(late.get(), environment, true), expected);
        checked = true;
    }
    EXPECT_TRUE(checked) << "no .err, .dump, .out or .late file for " << GetParam();
}

std::string TestName(const ::testing::TestParamInfo<std::string>& iInfo)
{
    std::string name = iInfo.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Parser, Golden, ::testing::ValuesIn(Cases()), TestName);

}  // namespace
