// Text, special text, comment, markers and expression statements: one leaf
// (or nothing) per evaluation, in both modes.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "MTTStatBeginStatement.h"
#include "MTTStatComment.h"
#include "MTTStatEndStatement.h"
#include "NodeKit.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"

using namespace kit;

namespace {

struct TextCase {
    const char* label;
    std::function<MTTIStatement*()> make;
    bool null;  // both modes
    const char* evalText;
    const char* evalOut;
    const char* evalErr;
    const char* lateText;
    const char* lateOut;
    const char* lateErr;
};

const char* const kUnknownTab = "ERROR: Unknown text identifier in specialtext \"TAB\".";
const char* const kNoString = "ERROR: This expression does not evaluate to a string.\n";
const char* const kNoLate = "ERROR: This expression has no late evaluation.\n";

const TextCase kTextCases[] = {
    {"text", [] { return Text("abc"); }, false, "abc", "", "", "abc", "", ""},
    {"empty text", [] { return Text(""); }, false, "", "", "", "", "", ""},
    {"text with quote and line feed", [] { return Text("a\"b\n"); }, false, "a\"b\n", "", "", "a\"b\n", "", ""},
    {"SPC", [] { return Special("SPC"); }, false, " ", "", "", " ", "", ""},
    {"NL", [] { return Special("NL"); }, false, "\n", "", "", "\n", "", ""},
    {"TAB", [] { return Special("TAB"); }, true, "", kUnknownTab, "", "", kUnknownTab, ""},
    {"lower case", [] { return Special("spc"); }, true, "", "ERROR: Unknown text identifier in specialtext \"spc\".",
     "", "", "ERROR: Unknown text identifier in specialtext \"spc\".", ""},
    {"trailing blank", [] { return Special("NL "); }, true, "",
     "ERROR: Unknown text identifier in specialtext \"NL \".", "", "",
     "ERROR: Unknown text identifier in specialtext \"NL \".", ""},
    {"comment", [] { return new MTTStatComment(MTTString("hidden")); }, false, "", "", "", "", "", ""},
    {"begin marker", [] { return new MTTStatBeginStatement(); }, false, "", "", "", "", "", ""},
    {"end marker", [] { return new MTTStatEndStatement(); }, false, "", "", "", "", "", ""},
    {"undefined variable", [] { return Expr(Var("nothing")); }, false, "", "", "", "nothing", "", ""},
    {"set variable", [] { return Expr(Var("who")); }, false, "World", "", "", "who", "", ""},
    {"missing property", [] { return Expr(Prop("n", "/a/b")); }, false, "",
     "ERROR: Property \"${n:/a/b}\" does not exist.\n", "", "prop(/a/b,n)", "", ""},
    {"present property", [] { return Expr(Prop("name", "child")); }, false, "Kid", "", "", "prop(child,name)", "", ""},
    {"quoted string", [] { return Expr(Str("say \"hi\"")); }, false, "say \"hi\"", "", "", "\"say \"hi\"\"", "", ""},
    {"plain string", [] { return Expr(Str("x", false)); }, false, "x", "", "", "x", "", ""},
    {"condition as value", [] { return Expr(Not(Str("x"))); }, false, "", "", kNoString, "", "", kNoLate},
};

void PrintTo(const TextCase& iCase, std::ostream* oStream)
{
    *oStream << iCase.label;
}

class TextStatements : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextStatements, GiveOneLeafOrFailInBothModes)
{
    const TextCase& c = GetParam();
    TestObject root;
    root.AddObject("child").Set("name", "Kid");
    TestLateEvaluator late;
    MTTEvaluationEnvironment now(&root);
    MTTEvaluationEnvironment later(&late);
    now.AddVariable(MTTString("who"), MTTString("World"), MTTVarString);
    later.AddVariable(MTTString("who"), MTTString("World"), MTTVarString);
    std::unique_ptr<MTTIStatement> statement(c.make());

    Outcome e = Eval(statement.get(), &now);
    EXPECT_EQ(e.null, c.null);
    EXPECT_EQ(e.text, c.evalText);
    EXPECT_EQ(e.out, c.evalOut);
    EXPECT_EQ(e.err, c.evalErr);

    Outcome l = Late(statement.get(), &later);
    EXPECT_EQ(l.null, c.null);
    EXPECT_EQ(l.text, c.lateText);
    EXPECT_EQ(l.out, c.lateOut);
    EXPECT_EQ(l.err, c.lateErr);
}

INSTANTIATE_TEST_SUITE_P(All, TextStatements, ::testing::ValuesIn(kTextCases),
                         [](const ::testing::TestParamInfo<TextCase>& iInfo) {
                             std::string name;
                             for (const char* p = iInfo.param.label; *p; ++p)
                                 name += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

// The leaf is a generated-text leaf of this statement; immediately it carries
// the current model object, late a null one for expression statements only.
TEST(TextStatementLeaves, CarryStatementTypeAndModelObject)
{
    TestObject root;
    TestObject& inner = root.AddObject("inner");
    TestLateEvaluator late;
    MTTEvaluationEnvironment now(&root);
    now.PushScope(&inner);
    MTTEvaluationEnvironment later(&late);

    std::unique_ptr<MTTIStatement> statements[] = {std::unique_ptr<MTTIStatement>(Text("t")),
                                                   std::unique_ptr<MTTIStatement>(Special("SPC")),
                                                   std::unique_ptr<MTTIStatement>(new MTTStatComment(MTTString("c"))),
                                                   std::unique_ptr<MTTIStatement>(new MTTStatBeginStatement()),
                                                   std::unique_ptr<MTTIStatement>(new MTTStatEndStatement()),
                                                   std::unique_ptr<MTTIStatement>(Expr(Var("v")))};
    for (auto& statement : statements) {
        for (int mode = 0; mode < 2; ++mode) {
            std::unique_ptr<MTTEvaluationOutput> out(mode == 0 ? statement->Evaluate(&now)
                                                               : statement->LateEvaluate(&now));
            ASSERT_NE(out, nullptr);
            ASSERT_EQ(out->GetMTTEvaluationOutputType(), MTTOutputLeaf);
            auto* leaf = static_cast<MTTEvaluationOutputLeaf*>(out.get());
            EXPECT_EQ(leaf->GetStatement(), statement.get());
            EXPECT_EQ(leaf->GetLeafType(), MTTLeafGeneratedText);
            bool lateExpression = mode == 1 && statement.get() == statements[5].get();
            EXPECT_EQ(leaf->GetModelObject(), lateExpression ? nullptr : static_cast<MTLIModelObject*>(&inner));
        }
        // Late environments have no model object at all.
        std::unique_ptr<MTTEvaluationOutput> out(statement->LateEvaluate(&later));
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(out->GetModelObject(), nullptr);
    }
    // Comments and markers are empty leaves that still hold their place.
    std::unique_ptr<MTTEvaluationOutput> comment(statements[2]->Evaluate(&now));
    EXPECT_TRUE(comment->IsEmpty());
}

// A missing environment or expression is reported and gives null.
TEST(TextStatementPreconditions, ReportAndReturnNull)
{
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    struct Case {
        std::function<MTTIStatement*()> make;
        bool nullEnvironment;
        const char* condition;
    } cases[] = {
        {[] { return Text("a"); }, true, "NULL != iEnvironment"},
        {[] { return Special("NL"); }, true, "NULL != iEnvironment"},
        {[] { return new MTTStatComment(MTTString("c")); }, true, "NULL != iEnvironment"},
        {[] { return new MTTStatBeginStatement(); }, true, "NULL != iEnvironment"},
        {[] { return new MTTStatEndStatement(); }, true, "NULL != iEnvironment"},
        {[] { return Expr(Var("v")); }, true, "NULL != iEnvironment"},
        {[] { return Expr(nullptr); }, false, "NULL != _expression"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<MTTIStatement> statement(c.make());
        MTTEvaluationEnvironment* environment = c.nullEnvironment ? nullptr : &env;
        for (const Outcome& r : {Eval(statement.get(), environment), Late(statement.get(), environment)}) {
            EXPECT_TRUE(r.null) << c.condition;
            EXPECT_EQ(r.err, Assertion(c.condition));
            EXPECT_EQ(r.out, "");
        }
    }
}

}  // namespace
