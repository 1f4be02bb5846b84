#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "MTTCallGuard.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTStatFunctionDecl.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"
#include "TreeBuilder.h"

namespace {

using Statement = std::unique_ptr<MTTIStatement>;

std::string CallFailed(const std::string& iName)
{
    return "ERROR: function call: evaluation of function \"" + iName + "\" failed.\n";
}

const std::string kBodyFailed = "ERROR: function call failed evaluation.\n";
const std::string kLateBodyFailed = "ERROR: function call failed late evaluation.\n";

// A template that declares f, whose body is iBody, and then runs iRest.
Statement WithFunction(TreeBuilder& b, std::initializer_list<const char*> iParams, MTTIStatement* iBody,
                       MTTIStatement* iRest)
{
    return Statement(b.List({b.Function("f", iParams, iBody), iRest}));
}

}  // namespace

TEST(Functions, ACallEvaluatesTheBodyWithItsArgumentsInANodeOfTheDeclaration)
{
    TreeBuilder b;
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    env.AddVariable(MTTString("n"), MTTString("N"), MTTVarString);
    Statement decl(b.Function("f", {"a", "b"}, b.List({b.Expr(b.Var("a")), b.Text("-"), b.Expr(b.Var("b"))})));
    Statement call(b.Call("f", {b.Str("1"), b.Var("n")}));

    CapturedRun declared = RunCaptured(decl.get(), env);
    ASSERT_NE(nullptr, declared.output);
    EXPECT_TRUE(declared.output->IsEmpty());
    CapturedRun run = RunCaptured(call.get(), env);
    EXPECT_EQ("1-N", run.text);
    EXPECT_EQ("", run.out + run.err);
    auto* node = dynamic_cast<MTTEvaluationOutputNode*>(run.output.get());
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(decl.get(), node->GetStatement());
    EXPECT_EQ(&root, node->GetModelObject());
    EXPECT_EQ(1, node->GetChildCount());
    EXPECT_EQ(1, PopToRootScope(env));
}

TEST(Functions, ParametersAreReadAtEachUseInTheEnvironmentOfThatMoment)
{
    TreeBuilder b;
    TestObject root;
    root.Set("name", "R");
    TestObject& items = root.AddList("items");
    items.AddElement().Set("name", "A");
    items.AddElement().Set("name", "B");
    MTTEvaluationEnvironment env(&root);
    env.AddVariable(MTTString("n"), MTTString("N"), MTTVarString);

    // A relative property read inside a loop of the body reads each element.
    Statement loop(WithFunction(
        b, {"p"},
        b.List({b.Expr(b.Var("p")), b.Text("|"), b.Foreach(b.Prop("", "items"), b.Expr(b.Var("p"))), b.Text("|"),
                b.Expr(b.Var("p"))}),
        b.Call("f", {b.Prop("name", "")})));
    EXPECT_EQ("R|AB|R", RunCaptured(loop.get(), env).text);

    // A variable argument changed by the body is read anew.
    MTTEvaluationEnvironment env2(&root);
    env2.AddVariable(MTTString("n"), MTTString("N"), MTTVarString);
    Statement reread(WithFunction(b, {"p"}, b.List({b.Expr(b.Var("p")), b.Assign("n", b.Str("+")), b.Expr(b.Var("p"))}),
                                  b.Call("f", {b.Var("n")})));
    EXPECT_EQ("N+", RunCaptured(reread.get(), env2).text);
}

TEST(Functions, WritesGoToTheCallersVariableEvenThroughSelfNamedArguments)
{
    TreeBuilder b;
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    env.AddVariable(MTTString("x"), MTTString("outer"), MTTVarString);
    env.AddVariable(MTTString("flags"), MTTString("0"), MTTVarInteger);
    Statement tree(b.List({
        b.Function("set", {"x"}, b.Assign("x", b.Str("new"))),
        b.Function("inc", {"x"}, b.List({b.AppendTo("x", b.Str("+")), b.Expr(b.Var("x"))})),
        b.Function("outer", {"x"}, b.Call("inc", {b.Var("x")})),  // an alias chain back to x
        b.Function("flag", {"f"}, b.OrEquals("f", b.Str("A", false))),
        b.Call("set", {b.Var("y")}),
        b.Call("inc", {b.Var("x")}),
        b.Call("outer", {b.Var("x")}),
        b.Call("flag", {b.Var("flags")}),
        b.Call("set", {b.Str("lit")}),
    }));
    CapturedRun run = RunCaptured(tree.get(), env);
    EXPECT_EQ("outer+outer++", run.text);
    EXPECT_EQ("ERROR: trying to write in an alias to a read only expression under name \"x\".\n", run.out);
    EXPECT_EQ("", run.err);
    EXPECT_EQ("new", ValueOf(env, "y"));
    EXPECT_EQ("outer++", ValueOf(env, "x"));
    EXPECT_EQ("0|A", ValueOf(env, "flags"));

    // Late, "|=" names the parameter and takes the type of its variable.
    Statement lateCall(b.Call("flag", {b.Var("flags")}));
    EXPECT_EQ("f|=A;\n", RunCaptured(lateCall.get(), env, true).text);
    EXPECT_EQ("0|A", ValueOf(env, "flags"));
}

TEST(Functions, DeclarationsBelongToTheirScopeAndTheFirstInnermostOneWins)
{
    TreeBuilder b;
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    Statement tree(b.List({
        b.Function("f", {}, b.Text("outer")),
        b.Function("f", {}, b.Text("second")),
        b.Function("h", {}, b.List({b.Function("f", {}, b.Text("inner")), b.Function("local", {}, b.Text("L")),
                                    b.Call("f"), b.Call("local")})),
        b.Call("f"), b.Call("h"), b.Call("f"),
    }));
    CapturedRun run = RunCaptured(tree.get(), env);
    EXPECT_EQ("outerinnerLouter", run.text);
    EXPECT_EQ("", run.out + run.err);

    Statement hidden(b.List({b.Call("local")}));
    CapturedRun missing = RunCaptured(hidden.get(), env);
    EXPECT_EQ(nullptr, missing.output);
    EXPECT_EQ("ERROR: Function \"local\" not found.\nERROR: function call: function \"local\" not defined.\n"
              "ERROR: StatList failed evaluation for child 1.\n",
              missing.out);
    EXPECT_EQ(1, PopToRootScope(env));
}

TEST(Functions, WrongCountsAndFailingBodiesPrintTwoLinesAndKeepTheScopeStack)
{
    TreeBuilder b;
    TestObject root;
    TestLateEvaluator late;
    struct Case {
        MTTIStatement* call;
        std::string out;
        std::string lateOut;
    };
    const std::string wrong = "ERROR: function call failed: wrong parameter number for function \"f\".\n";
    const std::string lateWrong = "ERROR: late evaluation function call failed: wrong parameter number for function \"f\".\n";
    const std::string unknown = "ERROR: Unknown text identifier in specialtext \"X\".";
    for (bool isLate : {false, true}) {
        MTTEvaluationEnvironment immediate(&root), lateEnv(&late);
        MTTEvaluationEnvironment& env = isLate ? lateEnv : immediate;
        Statement decls(b.List({b.Function("f", {"a", "b"}, b.Text("ok")), b.Function("bad", {}, b.Special("X")),
                                b.Function("none", {}, b.Text("none"))}));
        RunCaptured(decls.get(), env, isLate);
        Case cases[] = {
            {b.Call("f", {b.Str("1")}), wrong + CallFailed("f"), lateWrong + CallFailed("f")},
            {b.Call("f", {b.Str("1"), b.Str("2"), b.Str("3")}), wrong + CallFailed("f"), lateWrong + CallFailed("f")},
            {b.Call("bad"), unknown + kBodyFailed + CallFailed("bad"), unknown + kLateBodyFailed + CallFailed("bad")},
        };
        for (Case& c : cases) {
            Statement call(c.call);
            CapturedRun run = RunCaptured(call.get(), env, isLate);
            EXPECT_EQ(nullptr, run.output);
            EXPECT_EQ(isLate ? c.lateOut : c.out, run.out);
        }
        Statement ok(b.Call("none"));
        EXPECT_EQ("none", RunCaptured(ok.get(), env, isLate).text);

        // A missing argument list counts as a wrong count.
        MTTStatFunctionDecl* f = dynamic_cast<MTTStatFunctionDecl*>(decls->GetChild(1));
        ASSERT_NE(nullptr, f);
        StreamCapture capture;
        EXPECT_EQ(nullptr, isLate ? f->LateEvaluateCall(&env, nullptr) : f->EvaluateCall(&env, nullptr));
        EXPECT_EQ(isLate ? lateWrong : wrong, capture.Out());
        EXPECT_EQ(1, PopToRootScope(env));
    }
}

TEST(Functions, LateCallsInlineTheBodyInAScopeWithoutModelObject)
{
    TreeBuilder b;
    TestObject root;
    root.AddObject("flag");
    TestLateEvaluator late;
    MTTEvaluationEnvironment lateEnv(&late);
    Statement decl(b.Function("f", {"p"}, b.List({b.Text("<"), b.Expr(b.Var("p")), b.Expr(b.Prop("n", "")), b.Text(">")})));
    Statement call(b.Call("f", {b.Prop("v", "/a")}));
    RunCaptured(decl.get(), lateEnv, true);
    CapturedRun run = RunCaptured(call.get(), lateEnv, true);
    EXPECT_EQ("<pprop(,n)>", run.text);
    ASSERT_NE(nullptr, run.output);
    EXPECT_EQ(decl.get(), run.output->GetStatement());
    EXPECT_EQ(nullptr, run.output->GetModelObject());

    // A condition on a parameter is decided at once through the alias; the
    // relative property behind it then starts from no object at all.
    Statement test(WithFunction(b, {"c"}, b.If(b.Var("c"), b.Text("yes"), b.Text("no")),
                                b.Call("f", {b.Prop("", "flag")})));
    MTTEvaluationEnvironment now(&root), later(&root);
    EXPECT_EQ("yes", RunCaptured(test.get(), now).text);
    EXPECT_EQ("no", RunCaptured(test.get(), later, true).text);
}

TEST(Functions, RecursionThatEndsRunsAThousandLevelsDeepInBothModes)
{
    TreeBuilder b;
    TestObject root;
    TestLateEvaluator late;
    const std::string stop(999, 'x');
    // f appends to d and recurses until d holds 999 letters: 1,000 calls,
    // each forwarding its parameter and reading it through all the
    // aliases of the levels above.
    Statement tree(b.List({
        b.Function("f", {"p"}, b.If(b.And(b.Var("p"), b.Ne(b.Var("d"), b.Str(stop.c_str()))),
                                    b.List({b.AppendTo("d", b.Str("x")), b.Text("."), b.Call("f", {b.Var("p")})}),
                                    b.List({}))),
        b.Declare("d", MTTVarString),
        b.Call("f", {b.Str("yes")}),
    }));
    for (bool isLate : {false, true}) {
        MTTEvaluationEnvironment immediate(&root), lateEnv(&late);
        MTTEvaluationEnvironment& env = isLate ? lateEnv : immediate;
        CapturedRun run = RunCaptured(tree.get(), env, isLate);
        EXPECT_EQ("", run.out + run.err) << run.out.substr(0, 300);
        EXPECT_EQ((isLate ? "KORUnicodeString d;\n" : "") + std::string(999, '.'), run.text);
        EXPECT_EQ(stop, ValueOf(env, "d"));
        EXPECT_EQ(1, PopToRootScope(env));
    }
}

TEST(Functions, RecursionThatNeverEndsIsRefusedAndTheEnvironmentStaysUsable)
{
    TreeBuilder b;
    TestObject root;
    TestLateEvaluator late;
    Statement direct(WithFunction(b, {}, b.Call("f"), b.Call("f")));
    // Each level nests blocks between the calls and reads a parameter
    // forwarded through every level above: more stack per call.
    Statement nested(b.List({
        b.Function("g", {"p"}, b.List({b.Text("."), b.If(b.Var("p"), b.List({b.Call("h", {b.Var("p")})}), b.List({}))})),
        b.Function("h", {"q"}, b.List({b.Call("g", {b.Var("q")})})),
        b.Call("g", {b.Str("yes")}),
    }));
    Statement fine(b.List({b.Function("ok", {}, b.Text("ok")), b.Call("ok")}));
    for (bool isLate : {false, true}) {
        MTTEvaluationEnvironment immediate(&root), lateEnv(&late);
        MTTEvaluationEnvironment& env = isLate ? lateEnv : immediate;
        CapturedRun run = RunCaptured(direct.get(), env, isLate);
        EXPECT_EQ(nullptr, run.output);
        EXPECT_EQ("", run.err);
        // The refused call names the function; every call level then fails
        // with the usual two lines, innermost first.
        int calls = 0;
        ASSERT_EQ(1, std::sscanf(run.out.c_str(), "ERROR: function call: function \"f\" nested too deeply (%d calls).\n",
                                 &calls))
            << run.out.substr(0, 200);
        EXPECT_GT(calls, 1000);
        EXPECT_LE(calls, MTTCallGuard::kMaxDepth + 1);
        std::string expected = run.out.substr(0, run.out.find('\n') + 1) + CallFailed("f");
        for (int i = 1; i < calls; ++i) expected += (isLate ? kLateBodyFailed : kBodyFailed) + CallFailed("f");
        expected += "ERROR: StatList failed " + std::string(isLate ? "late " : "") + "evaluation for child 2.\n";
        EXPECT_TRUE(expected == run.out) << "output differs; " << run.out.size() << " bytes";

        // Late, an If decided at once drops a failed branch, so only the
        // immediate evaluation fails as a whole.
        CapturedRun deep = RunCaptured(nested.get(), env, isLate);
        EXPECT_EQ(isLate, deep.output != nullptr);
        EXPECT_EQ(0u, deep.out.find("ERROR: function call: function \"")) << deep.out.substr(0, 200);
        EXPECT_NE(std::string::npos, deep.out.find("\" nested too deeply ("));

        EXPECT_EQ(1, PopToRootScope(env));
        EXPECT_EQ("ok", RunCaptured(fine.get(), env, isLate).text);
    }
}
