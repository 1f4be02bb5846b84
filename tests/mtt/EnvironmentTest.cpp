#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ListOfMTTString.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTExpString.h"
#include "MTTExpVariable.h"
#include "MTTStatFunctionDecl.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"
#include "NodeKit.h"

using namespace kit;

namespace {

int Type(const MTTEvaluationEnvironment& iEnvironment, const char* iName)
{
    return iEnvironment.GetVariableType(iName);
}

MTTStatFunctionDecl* Declaration(const char* iName)
{
    return new MTTStatFunctionDecl(iName, ListOfMTTString(), nullptr);
}

}  // namespace

// Each test runs against a fresh environment on a root object, and checks
// at the end that nothing was printed that the test did not take.
struct Environment : ::testing::Test {
    TestObject root;
    MTTEvaluationEnvironment env{static_cast<MTLIModelObject*>(&root)};
    std::unique_ptr<StreamCapture> capture{new StreamCapture};
    void TearDown() override
    {
        capture->Stop();
        EXPECT_EQ(capture->Out(), "");
        EXPECT_EQ(capture->Err(), "");
    }
    // What was printed since the last call.
    std::pair<std::string, std::string> Printed()
    {
        capture->Stop();
        std::pair<std::string, std::string> printed(capture->Out(), capture->Err());
        capture.reset(new StreamCapture);
        return printed;
    }
};

TEST_F(Environment, VariablesAndTheirTypes)
{
    env.AddVariable("n", "0", MTTVarInteger);
    env.AddVariable("n", "12", MTTVarString);  // an existing type stays
    EXPECT_EQ(ValueOf(env, "n"), "12");
    EXPECT_EQ(env.SetVariable("n", "13"), S_OK);
    EXPECT_EQ(ValueOf(env, "n"), "13");
    EXPECT_EQ(Type(env, "n"), MTTVarInteger);
    env.AddVariable("odd", "", static_cast<MTTExpVariableType>(7));
    EXPECT_EQ(Type(env, "odd"), 7);
    EXPECT_EQ(ValueOf(env, "odd"), "");

    EXPECT_EQ(env.SetVariable("unknown", "v"), E_FAIL);
    EXPECT_EQ(ValueOf(env, "unknown"), "<none>");  // nothing was created
    EXPECT_EQ(Type(env, "unknown"), MTTVarString);

    env.PushScope(nullptr);  // variables are not scoped
    env.AddVariable("inner", "made inside", MTTVarString);
    env.PopScope();
    EXPECT_EQ(ValueOf(env, "inner"), "made inside");
}

TEST_F(Environment, AliasesOverScopes)
{
    MTTExpString outer("outer", true), inner("inner", true), later("later", true);
    EXPECT_EQ(env.GetAlias("p"), nullptr);
    env.AddAlias("p", &outer);
    env.PushScope(nullptr);
    EXPECT_EQ(env.GetAlias("p"), &outer);
    env.AddAlias("p", &inner);
    EXPECT_EQ(env.GetAlias("p"), &inner);  // innermost wins
    EXPECT_EQ(ValueOf(env, "p"), "inner");
    env.AddAlias("p", &later);  // same scope: replaced
    EXPECT_EQ(env.GetAlias("p"), &later);
    env.PopScope();
    EXPECT_EQ(env.GetAlias("p"), &outer);
    EXPECT_EQ(ValueOf(env, "p"), "outer");
}

// Writes through an alias to a declared variable are checked with the
// variable statements; here the target is not declared yet: reads give an
// empty text, SetVariable succeeds without creating it, AddVariable creates
// it under its own name.
TEST_F(Environment, AliasesToUndeclaredVariables)
{
    MTTExpVariable toMissing("missing");
    env.PushScope(nullptr);
    env.AddAlias("q", &toMissing);
    EXPECT_EQ(ValueOf(env, "q"), "");
    EXPECT_EQ(env.SetVariable("q", "x"), S_OK);
    EXPECT_EQ(ValueOf(env, "missing"), "<none>");
    env.AddVariable("q", "made", MTTVarInteger);
    EXPECT_EQ(ValueOf(env, "missing"), "made");
    EXPECT_EQ(Type(env, "q"), MTTVarInteger);
    env.PopScope();
    EXPECT_EQ(ValueOf(env, "q"), "<none>");  // nothing named after the alias
}

TEST_F(Environment, AliasCyclesEndAtTheVariableTable)
{
    // A parameter bound to the caller's variable of the same name is
    // checked through calls (FunctionsTest: self-named arguments, recursion).
    // a -> b -> a, in one scope and spread over two: each name ends at its
    // own entry of the table.
    for (int spread = 0; spread < 2; ++spread) {
        SCOPED_TRACE(spread);
        std::string na = "a" + std::to_string(spread), nb = "b" + std::to_string(spread);
        MTTExpVariable a(na.c_str()), b(nb.c_str());
        env.PushScope(nullptr);
        env.AddAlias(a.Name(), &b);
        if (spread) env.PushScope(nullptr);
        env.AddAlias(b.Name(), &a);
        EXPECT_EQ(ValueOf(env, na.c_str()), "");
        EXPECT_EQ(Type(env, na.c_str()), MTTVarString);
        EXPECT_FALSE(a.EvaluateBoolean(&env));
        EXPECT_EQ(env.SetVariable(a.Name(), "v"), S_OK);
        env.AddVariable(b.Name(), "set", MTTVarInteger);
        EXPECT_EQ(ValueOf(env, nb.c_str()), "set");
        EXPECT_EQ(Type(env, nb.c_str()), MTTVarInteger);
        EXPECT_EQ(ValueOf(env, na.c_str()), "");
        if (spread) env.PopScope();
        env.PopScope();
        EXPECT_EQ(ValueOf(env, nb.c_str()), "set");
        EXPECT_EQ(ValueOf(env, na.c_str()), "<none>");
    }
}

TEST_F(Environment, TheRootScopeIsNeverPopped)
{
    TestObject element;
    MTTExpString literal("bound", true);
    std::unique_ptr<MTTStatFunctionDecl> f(Declaration("f"));
    env.AddAlias("p", &literal);
    env.AddFunction(f.get());
    env.PushScope(&element);
    EXPECT_EQ(env.GetCurrentModelObject(), &element);
    env.PushScope(nullptr);
    EXPECT_EQ(env.GetCurrentModelObject(), nullptr);
    env.PopScope();
    env.PopScope();
    for (int attempt = 0; attempt < 2; ++attempt) {
        env.PopScope();
        auto printed = Printed();
        EXPECT_EQ(printed.first, "");
        EXPECT_EQ(Norm(printed.second), Assertion("size > 1"));
    }
    EXPECT_EQ(env.GetCurrentModelObject(), &root);
    EXPECT_EQ(env.GetRootModelObject(), &root);
    EXPECT_EQ(env.GetLateEvaluator(), nullptr);
    EXPECT_EQ(env.GetAlias("p"), &literal);
    EXPECT_EQ(env.GetFunction("f"), f.get());
}

TEST_F(Environment, LateEnvironmentAndNullConstructorArguments)
{
    TestLateEvaluator late;
    {
        MTTEvaluationEnvironment lateEnv(&late);
        EXPECT_EQ(lateEnv.GetLateEvaluator(), &late);
        EXPECT_EQ(lateEnv.GetRootModelObject(), nullptr);
        EXPECT_EQ(lateEnv.GetCurrentModelObject(), nullptr);
        lateEnv.PushScope(&root);
        EXPECT_EQ(lateEnv.GetCurrentModelObject(), &root);
        lateEnv.PopScope();
        EXPECT_EQ(lateEnv.GetCurrentModelObject(), nullptr);
    }
    for (bool isLate : {false, true}) {
        std::unique_ptr<MTTEvaluationEnvironment> broken(
            isLate ? new MTTEvaluationEnvironment(static_cast<MTLILateEvaluator*>(nullptr))
                   : new MTTEvaluationEnvironment(static_cast<MTLIModelObject*>(nullptr)));
        EXPECT_EQ(Norm(Printed().second), Assertion(isLate ? "NULL != lateEvaluator" : "NULL != rootModelObject"));
        broken->AddVariable("v", "1", MTTVarInteger);  // still a working environment
        EXPECT_EQ(ValueOf(*broken, "v"), "1");
        EXPECT_TRUE(broken->GetCurrentModelObject() == nullptr && broken->GetLateEvaluator() == nullptr &&
                    broken->GetRootModelObject() == nullptr);
    }
}

TEST_F(Environment, CopiesShareTheStateTheSourceOwns)
{
    TestObject other;
    env.AddVariable("v", "from source", MTTVarString);
    {
        MTTEvaluationEnvironment copy(env);
        EXPECT_EQ(ValueOf(copy, "v"), "from source");
        copy.AddVariable("w", "from copy", MTTVarString);
        copy.PushScope(&other);  // left pushed: the source deletes it
    }
    EXPECT_EQ(ValueOf(env, "w"), "from copy");
    EXPECT_EQ(env.GetCurrentModelObject(), &other);
    {
        MTTEvaluationEnvironment target(&other);
        target.AddVariable("t", "own", MTTVarString);
        target.PushScope(nullptr);
        target = env;  // releases what it owned
        EXPECT_EQ(ValueOf(target, "t"), "<none>");
        EXPECT_EQ(ValueOf(target, "v"), "from source");
        EXPECT_EQ(target.GetRootModelObject(), &root);
        MTTEvaluationEnvironment copy(env);
        env = copy;  // given its own state back: still the owner
        MTTEvaluationEnvironment& same = env;
        env = same;
    }
    EXPECT_EQ(ValueOf(env, "w"), "from copy");
}
