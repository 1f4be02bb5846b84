#include <gtest/gtest.h>

#include <string>

#include "CppLateEvaluator.h"
#include "CppLateSyntax.h"
#include "JsonModel.h"
#include "MTLIModelObject.h"
#include "StreamCapture.h"
#include "mtt_runtime.h"

namespace {

std::string LateText(MTTString iText)
{
    return iText.ConvertToChar();
}

}  // namespace

TEST(CppLateEvaluator, CallsTheRuntimeObjectWithQuotedPathsAndNames)
{
    CppLateEvaluator standard;
    EXPECT_EQ("mtt_model.Value(\"\", \"name\")", LateText(standard.LateProperty("", "name")));
    EXPECT_EQ("mtt_model.Value(\"/a/this\", \"\")", LateText(standard.LateProperty("/a/this", "")));
    EXPECT_EQ("mtt_model.Size(\"/classes\")", LateText(standard.LateListSize("/classes")));
    EXPECT_EQ("mtt_model.Enter(\"attributes\", index_i)", LateText(standard.LateEnterElement("attributes", "index_i")));
    EXPECT_EQ("mtt_model.Leave()", LateText(standard.LateLeaveElement()));
    EXPECT_EQ("mtt_model.Value(\"\", \"\")", LateText(standard.LateProperty(nullptr, nullptr)));

    CppLateEvaluator named("model");
    EXPECT_EQ("model.Value(\"a\\\"b\", \"c\\\\d\")", LateText(named.LateProperty("a\"b", "c\\d")));
    EXPECT_EQ("model.Leave()", LateText(named.LateLeaveElement()));
}

// Literals are the "c" transform in quotes (the transform table's tests
// cover the escapes); resets are what the parser writes for a declaration
// that the generated code already has.
TEST(CppLateEvaluator, LiteralsAndResetsForTheParser)
{
    CppLateSyntax syntax;
    EXPECT_EQ("\"a\\\"b?\\?\\?\"", CppLateEvaluator::Literal("a\"b???"));
    EXPECT_EQ(CppLateEvaluator::Literal("x\n"), syntax.StringLiteral("x\n"));
    EXPECT_EQ("n = 0;\n", syntax.ResetInteger("n"));
    EXPECT_EQ("s = KORUnicodeString();\n", syntax.ResetString("s"));
}

// The runtime walks paths the way property expressions walk them and reads
// the same texts as the model adapter.
TEST(RuntimeModel, ValuesSizesAndTheObjectStackFollowTheModelAdapter)
{
    const char* json = R"({"name":"M","n":1.5,"z":null,"a/b":"slash",
        "classes":[{"name":"A","attributes":[{"name":"x"},{"name":"y"}]},{"name":"B","attributes":[]}]})";
    mtt_runtime::Model runtime;
    std::string error;
    ASSERT_TRUE(runtime.LoadText(json, "m.json", error)) << error;
    auto model = JsonModel::FromText(json, "m.json", error);
    for (const char* name : {"name", "n", "z", "classes", "missing"}) {
        EXPECT_EQ(model->Root()->GetValue(name).ConvertToChar(), runtime.Value("", name)) << name;
        EXPECT_EQ(runtime.Value("", name), runtime.Value("/this", name));
    }
    EXPECT_EQ(2, runtime.Size("/classes"));

    runtime.Enter("classes", 0);  // loops are covered by the agreement test
    EXPECT_EQ("A", runtime.Value("this", "name"));
    EXPECT_EQ("M", runtime.Value("/", "name"));
    runtime.Leave();

    // Broken paths are reported on std::cerr and read as nothing; every
    // Enter, even a failing one, is undone by one Leave.
    StreamCapture capture;
    EXPECT_EQ("", runtime.Value("nowhere", "name"));
    EXPECT_EQ("", runtime.Value("a/b", "name"));  // "/" always separates elements
    EXPECT_EQ(0, runtime.Size("name"));
    runtime.Enter("classes", 5);
    EXPECT_EQ("", runtime.Value("", "name"));
    EXPECT_EQ(0, runtime.Size("attributes"));
    runtime.Leave();
    runtime.Leave();
    EXPECT_EQ(1u, runtime.Depth());
    EXPECT_EQ("", capture.Out());
    EXPECT_EQ(
        "mtt_runtime: error: no object at path \"nowhere\"\n"
        "mtt_runtime: error: no object at path \"a/b\"\n"
        "mtt_runtime: error: no list at path \"name\"\n"
        "mtt_runtime: error: no element 5 of the list at path \"classes\"\n"
        "mtt_runtime: error: Leave without Enter\n",
        capture.Err());
}
