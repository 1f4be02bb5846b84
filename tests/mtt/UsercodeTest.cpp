#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"
#include "NodeKit.h"

using namespace kit;

namespace {

using Statement = std::unique_ptr<MTTIStatement>;

const char* const kBegin = "\n// Begin of User Code\n";
const char* const kEnd = "// End of User Code\n";

}  // namespace

TEST(Usercode, ThreeLeavesCarryTheOwnerAndOnlyTheMiddleOneIsUserCode)
{
    for (const char* code : {"keep();\n", ""}) {
        TestObject root;
        TestObject& owner = root.AddObject("cls");
        TestObject& scalar = owner.AddScalar("UserCode", code);
        MTTEvaluationEnvironment env(&root);
        Statement stat(Usercode(Prop("ignored", "cls")));
        Outcome run = Eval(stat.get(), &env);

        EXPECT_EQ(std::string(kBegin) + code + kEnd, run.text);
        EXPECT_EQ("", run.out + run.err);
        auto* node = dynamic_cast<MTTEvaluationOutputNode*>(run.output.get());
        ASSERT_NE(nullptr, node);
        EXPECT_FALSE(node->IsEmpty());
        EXPECT_EQ(&owner, node->GetModelObject());  // not the current object
        EXPECT_EQ(stat.get(), node->GetStatement());
        ASSERT_EQ(3, node->GetChildCount());
        const char* texts[] = {kBegin, code, kEnd};
        const MTTEvaluationOutputLeafType types[] = {MTTLeafGeneratedText, MTTLeafUserCode, MTTLeafGeneratedText};
        for (int i = 0; i < 3; ++i) {
            auto* leaf = dynamic_cast<MTTEvaluationOutputLeaf*>(node->GetChild(i));
            ASSERT_NE(nullptr, leaf) << i;
            EXPECT_STREQ(texts[i], leaf->GetText().ConvertToChar());
            EXPECT_EQ(types[i], leaf->GetLeafType()) << i;
            EXPECT_EQ(&owner, leaf->GetModelObject()) << i;
            EXPECT_EQ(stat.get(), leaf->GetStatement()) << i;
        }
        EXPECT_EQ((std::vector<std::string>{"GetProperty(cls)"}), root.calls);
        EXPECT_EQ((std::vector<std::string>{"GetProperty(UserCode)"}), owner.calls);
        EXPECT_EQ((std::vector<std::string>{"GetValue(null)"}), scalar.calls);
    }
}

TEST(Usercode, FailuresNameTheDesignatingExpressionByItsDump)
{
    struct Case {
        const char* what;
        MTTIExpression* (*owner)();
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {"walk fails", []() { return Prop("n", "a"); },
         "ERROR: Property \"${n:a}\" does not exist.\nERROR: UserCode: \"${n:a}\" not present.\n", ""},
        {"no user code", []() { return Prop("n", "/plain/x"); }, "ERROR: Property \"${n:/plain/x}\" has no UserCode.\n",
         ""},
        {"a list", []() { return Prop("n", "listed"); }, "ERROR: UserCode of \"${n:listed}\" is not an scalar.\n", ""},
        {"a plain object", []() { return Prop("", "this/plainly"); },
         "ERROR: UserCode of \"${:this/plainly}\" is not an scalar.\n", ""},
        {"a variable", []() { return Var("v"); }, "ERROR: UserCode: \"(Var v)\" not present.\n",
         "ERROR: This expression does not evaluate to a model element.\n"},
    };
    for (const Case& c : cases) {
        TestObject root;
        root.AddObject("plain").AddObject("x");
        root.AddObject("listed").AddList("UserCode");
        root.AddObject("plainly").AddObject("UserCode");
        MTTEvaluationEnvironment env(&root);
        Statement stat(Usercode(c.owner()));
        Outcome run = Eval(stat.get(), &env);
        EXPECT_EQ(nullptr, run.output) << c.what;
        EXPECT_EQ(c.out, run.out) << c.what;
        EXPECT_EQ(c.err, run.err) << c.what;
    }
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    Statement none(Usercode(nullptr));
    for (bool isLate : {false, true}) {
        Outcome run = Eval(none.get(), &env, isLate);
        EXPECT_EQ(nullptr, run.output);
        EXPECT_EQ(Assertion("NULL != _variable"), run.err);
    }
}

TEST(Usercode, LateEvaluationIsOnlyTheExpressionsText)
{
    TestLateEvaluator late;
    TestObject current;
    MTTEvaluationEnvironment env(&late);
    env.PushScope(&current);
    Statement stat(Usercode(Prop("n", "cls")));
    Outcome run = Eval(stat.get(), &env, true);
    auto* leaf = dynamic_cast<MTTEvaluationOutputLeaf*>(run.output.get());
    ASSERT_NE(nullptr, leaf);
    EXPECT_EQ("prop(cls,n)", run.text);
    EXPECT_EQ(&current, leaf->GetModelObject());
    EXPECT_EQ(MTTLeafGeneratedText, leaf->GetLeafType());
    EXPECT_TRUE(current.calls.empty());

    TestObject root;
    MTTEvaluationEnvironment immediate(&root);
    Outcome noEvaluator = Eval(stat.get(), &immediate, true);
    ASSERT_NE(nullptr, noEvaluator.output);
    EXPECT_EQ("", noEvaluator.text);
    EXPECT_EQ("ERROR: late evaluation for property needs a late evaluator.\n", noEvaluator.out);
}
