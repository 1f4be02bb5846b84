#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "MTTCallGuard.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationState.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTStatFunctionDecl.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"
#include "NodeKit.h"

using namespace kit;

namespace {

using Statement = std::unique_ptr<MTTIStatement>;

std::string CallFailed(const std::string& iName)
{
    return "ERROR: function call: evaluation of function \"" + iName + "\" failed.\n";
}

const std::string kBodyFailed = "ERROR: function call failed evaluation.\n";
const std::string kLateBodyFailed = "ERROR: function call failed late evaluation.\n";

// A template that declares f, whose body is iBody, and then runs iRest.
Statement WithFunction(std::initializer_list<const char*> iParams, MTTIStatement* iBody, MTTIStatement* iRest)
{
    return Statement(List({Function("f", iParams, iBody), iRest}));
}

}  // namespace

TEST(Functions, ACallEvaluatesTheBodyWithItsArgumentsInANodeOfTheDeclaration)
{
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    env.AddVariable(MTTString("n"), MTTString("N"), MTTVarString);
    Statement decl(Function("f", {"a", "b"}, List({Expr(Var("a")), Text("-"), Expr(Var("b"))})));
    Statement call(Call("f", {Str("1"), Var("n")}));

    Outcome declared = Eval(decl.get(), &env);
    ASSERT_NE(nullptr, declared.output);
    EXPECT_TRUE(declared.output->IsEmpty());
    Outcome run = Eval(call.get(), &env);
    EXPECT_EQ("1-N", run.text);
    EXPECT_EQ("", run.out + run.err);
    auto* node = dynamic_cast<MTTEvaluationOutputNode*>(run.output.get());
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(decl.get(), node->GetStatement());
    EXPECT_EQ(&root, node->GetModelObject());
    EXPECT_EQ(1, node->GetChildCount());
    EXPECT_EQ(1, MTTEvaluationState::Of(&env).ScopeCount());
}

TEST(Functions, ParametersAreReadAtEachUseInTheEnvironmentOfThatMoment)
{
    TestObject root;
    root.Set("name", "R");
    TestObject& items = root.AddList("items");
    items.AddElement().Set("name", "A");
    items.AddElement().Set("name", "B");
    MTTEvaluationEnvironment env(&root);
    env.AddVariable(MTTString("n"), MTTString("N"), MTTVarString);

    // A relative property read inside a loop of the body reads each element.
    Statement loop(WithFunction(
        {"p"}, List({Expr(Var("p")), Text("|"), Foreach(Prop("", "items"), Expr(Var("p"))), Text("|"), Expr(Var("p"))}),
        Call("f", {Prop("name", "")})));
    EXPECT_EQ("R|AB|R", Eval(loop.get(), &env).text);

    // A variable argument changed by the body is read anew.
    MTTEvaluationEnvironment env2(&root);
    env2.AddVariable(MTTString("n"), MTTString("N"), MTTVarString);
    Statement reread(
        WithFunction({"p"}, List({Expr(Var("p")), Assign("n", Str("+")), Expr(Var("p"))}), Call("f", {Var("n")})));
    EXPECT_EQ("N+", Eval(reread.get(), &env2).text);
}

TEST(Functions, WritesGoToTheCallersVariableEvenThroughSelfNamedArguments)
{
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    env.AddVariable(MTTString("x"), MTTString("outer"), MTTVarString);
    env.AddVariable(MTTString("flags"), MTTString("0"), MTTVarInteger);
    Statement tree(List({
        Function("set", {"x"}, Assign("x", Str("new"))),
        Function("inc", {"x"}, List({AppendTo("x", Str("+")), Expr(Var("x"))})),
        Function("outer", {"x"}, Call("inc", {Var("x")})),  // an alias chain back to x
        Function("flag", {"f"}, OrEquals("f", Str("A", false))),
        Call("set", {Var("y")}),
        Call("inc", {Var("x")}),
        Call("outer", {Var("x")}),
        Call("flag", {Var("flags")}),
        Call("set", {Str("lit")}),
    }));
    Outcome run = Eval(tree.get(), &env);
    EXPECT_EQ("outer+outer++", run.text);
    EXPECT_EQ("ERROR: trying to write in an alias to a read only expression under name \"x\".\n", run.out);
    EXPECT_EQ("", run.err);
    EXPECT_EQ("new", ValueOf(env, "y"));
    EXPECT_EQ("outer++", ValueOf(env, "x"));
    EXPECT_EQ("0|A", ValueOf(env, "flags"));

    // Late, "|=" names the parameter and takes the type of its variable.
    Statement lateCall(Call("flag", {Var("flags")}));
    EXPECT_EQ("f|=A;\n", Eval(lateCall.get(), &env, true).text);
    EXPECT_EQ("0|A", ValueOf(env, "flags"));
}

TEST(Functions, DeclarationsBelongToTheirScopeAndTheFirstInnermostOneWins)
{
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    Statement tree(List({
        Function("f", {}, Text("outer")),
        Function("f", {}, Text("second")),
        Function("h", {},
                 List({Function("f", {}, Text("inner")), Function("local", {}, Text("L")), Call("f"), Call("local")})),
        Call("f"),
        Call("h"),
        Call("f"),
    }));
    Outcome run = Eval(tree.get(), &env);
    EXPECT_EQ("outerinnerLouter", run.text);
    EXPECT_EQ("", run.out + run.err);

    Statement hidden(List({Call("local")}));
    Outcome missing = Eval(hidden.get(), &env);
    EXPECT_EQ(nullptr, missing.output);
    EXPECT_EQ(
        "ERROR: Function \"local\" not found.\nERROR: function call: function \"local\" not defined.\n"
        "ERROR: StatList failed evaluation for child 1.\n",
        missing.out);
    EXPECT_EQ(1, MTTEvaluationState::Of(&env).ScopeCount());
}

TEST(Functions, WrongCountsAndFailingBodiesPrintTwoLinesAndKeepTheScopeStack)
{
    TestObject root;
    TestLateEvaluator late;
    struct Case {
        MTTIStatement* call;
        std::string out;
        std::string lateOut;
    };
    const std::string wrong = "ERROR: function call failed: wrong parameter number for function \"f\".\n";
    const std::string lateWrong =
        "ERROR: late evaluation function call failed: wrong parameter number for function \"f\".\n";
    const std::string unknown = "ERROR: Unknown text identifier in specialtext \"X\".";
    for (bool isLate : {false, true}) {
        MTTEvaluationEnvironment immediate(&root), lateEnv(&late);
        MTTEvaluationEnvironment& env = isLate ? lateEnv : immediate;
        Statement decls(List({Function("f", {"a", "b"}, Text("ok")), Function("bad", {}, Special("X")),
                              Function("none", {}, Text("none"))}));
        Eval(decls.get(), &env, isLate);
        Case cases[] = {
            {Call("f", {Str("1")}), wrong + CallFailed("f"), lateWrong + CallFailed("f")},
            {Call("f", {Str("1"), Str("2"), Str("3")}), wrong + CallFailed("f"), lateWrong + CallFailed("f")},
            {Call("bad"), unknown + kBodyFailed + CallFailed("bad"), unknown + kLateBodyFailed + CallFailed("bad")},
        };
        for (Case& c : cases) {
            Statement call(c.call);
            Outcome run = Eval(call.get(), &env, isLate);
            EXPECT_EQ(nullptr, run.output);
            EXPECT_EQ(isLate ? c.lateOut : c.out, run.out);
        }
        Statement ok(Call("none"));
        EXPECT_EQ("none", Eval(ok.get(), &env, isLate).text);

        // A missing argument list counts as a wrong count.
        MTTStatFunctionDecl* f = dynamic_cast<MTTStatFunctionDecl*>(decls->GetChild(1));
        ASSERT_NE(nullptr, f);
        StreamCapture capture;
        EXPECT_EQ(nullptr, isLate ? f->LateEvaluateCall(&env, nullptr) : f->EvaluateCall(&env, nullptr));
        EXPECT_EQ(isLate ? lateWrong : wrong, capture.Out());
        EXPECT_EQ(1, MTTEvaluationState::Of(&env).ScopeCount());
    }
}

TEST(Functions, LateCallsInlineTheBodyInAScopeWithoutModelObject)
{
    TestObject root;
    root.AddObject("flag");
    TestLateEvaluator late;
    MTTEvaluationEnvironment lateEnv(&late);
    Statement decl(Function("f", {"p"}, List({Text("<"), Expr(Var("p")), Expr(Prop("n", "")), Text(">")})));
    Statement call(Call("f", {Prop("v", "/a")}));
    Eval(decl.get(), &lateEnv, true);
    Outcome run = Eval(call.get(), &lateEnv, true);
    EXPECT_EQ("<pprop(,n)>", run.text);
    ASSERT_NE(nullptr, run.output);
    EXPECT_EQ(decl.get(), run.output->GetStatement());
    EXPECT_EQ(nullptr, run.output->GetModelObject());

    // A condition on a parameter is decided at once through the alias; the
    // relative property behind it then starts from no object at all.
    Statement test(WithFunction({"c"}, If(Var("c"), Text("yes"), Text("no")), Call("f", {Prop("", "flag")})));
    MTTEvaluationEnvironment now(&root), later(&root);
    EXPECT_EQ("yes", Eval(test.get(), &now).text);
    EXPECT_EQ("no", Eval(test.get(), &later, true).text);
}

TEST(Functions, RecursionThatEndsRunsAThousandLevelsDeepInBothModes)
{
    TestObject root;
    TestLateEvaluator late;
    const std::string stop(999, 'x');
    // f appends to d and recurses until d holds 999 letters: 1,000 calls,
    // each forwarding its parameter and reading it through all the
    // aliases of the levels above.
    Statement tree(List({
        Function("f", {"p"},
                 If(And(Var("p"), Ne(Var("d"), Str(stop.c_str()))),
                    List({AppendTo("d", Str("x")), Text("."), Call("f", {Var("p")})}), List({}))),
        Declare("d", MTTVarString),
        Call("f", {Str("yes")}),
    }));
    for (bool isLate : {false, true}) {
        MTTEvaluationEnvironment immediate(&root), lateEnv(&late);
        MTTEvaluationEnvironment& env = isLate ? lateEnv : immediate;
        Outcome run = Eval(tree.get(), &env, isLate);
        EXPECT_EQ("", run.out + run.err) << run.out.substr(0, 300);
        EXPECT_EQ((isLate ? "KORUnicodeString d;\n" : "") + std::string(999, '.'), run.text);
        EXPECT_EQ(stop, ValueOf(env, "d"));
        EXPECT_EQ(1, MTTEvaluationState::Of(&env).ScopeCount());
    }
}

TEST(Functions, RecursionThatNeverEndsIsRefusedAndTheEnvironmentStaysUsable)
{
    TestObject root;
    TestLateEvaluator late;
    Statement direct(WithFunction({}, Call("f"), Call("f")));
    // Each level nests blocks between the calls and reads a parameter
    // forwarded through every level above: more stack per call.
    Statement nested(List({
        Function("g", {"p"}, List({Text("."), If(Var("p"), List({Call("h", {Var("p")})}), List({}))})),
        Function("h", {"q"}, List({Call("g", {Var("q")})})),
        Call("g", {Str("yes")}),
    }));
    Statement fine(List({Function("ok", {}, Text("ok")), Call("ok")}));
    for (bool isLate : {false, true}) {
        MTTEvaluationEnvironment immediate(&root), lateEnv(&late);
        MTTEvaluationEnvironment& env = isLate ? lateEnv : immediate;
        Outcome run = Eval(direct.get(), &env, isLate);
        EXPECT_EQ(nullptr, run.output);
        EXPECT_EQ("", run.err);
        // The refused call names the function; every call level then fails
        // with the usual two lines, innermost first.
        int calls = 0;
        ASSERT_EQ(1, std::sscanf(run.out.c_str(),
                                 "ERROR: function call: function \"f\" nested too deeply (%d calls).\n", &calls))
            << run.out.substr(0, 200);
        EXPECT_GT(calls, 1000);
        EXPECT_LE(calls, MTTCallGuard::kMaxDepth + 1);
        std::string expected = run.out.substr(0, run.out.find('\n') + 1) + CallFailed("f");
        for (int i = 1; i < calls; ++i) expected += (isLate ? kLateBodyFailed : kBodyFailed) + CallFailed("f");
        expected += "ERROR: StatList failed " + std::string(isLate ? "late " : "") + "evaluation for child 2.\n";
        EXPECT_TRUE(expected == run.out) << "output differs; " << run.out.size() << " bytes";

        // Late, an If decided at once drops a failed branch, so only the
        // immediate evaluation fails as a whole.
        Outcome deep = Eval(nested.get(), &env, isLate);
        EXPECT_EQ(isLate, deep.output != nullptr);
        EXPECT_EQ(0u, deep.out.find("ERROR: function call: function \"")) << deep.out.substr(0, 200);
        EXPECT_NE(std::string::npos, deep.out.find("\" nested too deeply ("));

        EXPECT_EQ(1, MTTEvaluationState::Of(&env).ScopeCount());
        EXPECT_EQ("ok", Eval(fine.get(), &env, isLate).text);
    }
}
