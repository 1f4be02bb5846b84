// Property walks, string literals and variables: their values, truth,
// paths and late texts.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "MTTExpProperty.h"
#include "NodeKit.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"

using namespace kit;

namespace {

struct Model : ::testing::Test {
    TestObject root;
    TestObject* a;
    TestObject* b;
    TestObject* childNamedThis;
    std::unique_ptr<MTTEvaluationEnvironment> env;

    void SetUp() override
    {
        root.Set("n", "root");
        a = &root.AddObject("a");
        a->Set("n", "A");
        b = &a->AddObject("b");
        b->Set("n", "B");
        childNamedThis = &a->AddObject("this");
        childNamedThis->Set("n", "child named this");
        env.reset(new MTTEvaluationEnvironment(&root));
        env->PushScope(a);  // the current object is a
    }
};

using PropertyWalk = Model;
using ValueTruth = Model;

TEST_F(PropertyWalk, FromCurrentOrRootObject)
{
    struct Case {
        std::vector<const char*> path;
        bool relative;
        const char* value;  // null: the walk fails
        const char* dump;
    } cases[] = {
        {{}, false, "root", ""},
        {{}, true, "A", ""},
        {{"a", "b"}, false, "B", ""},
        {{"b"}, true, "B", ""},
        {{"this"}, true, "A", ""},
        {{"this"}, false, "root", ""},
        {{"this", "b"}, true, "B", ""},
        {{"a", "this"}, false, "child named this", ""},
        {{"x"}, false, nullptr, "${n:/x}"},
        {{"a", "b"}, true, nullptr, "${n:a/b}"},
        {{"a", "x", "b"}, false, nullptr, "${n:/a/x/b}"},
        {{"this", "this"}, true, "child named this", ""},
    };
    for (const Case& c : cases) {
        ListOfMTTString path;
        for (const char* element : c.path) path.Append(MTTString(element));
        MTTExpProperty property(path, c.relative, MTTString("n"));
        const std::string missing = c.value ? "" : std::string("ERROR: Property \"") + c.dump + "\" does not exist.\n";
        std::string label = S(property.ToString());

        auto text = Quietly([&] { return S(property.EvaluateString(env.get())); });
        EXPECT_EQ(text.value, c.value ? c.value : "") << label;
        EXPECT_EQ(text.out, missing) << label;
        EXPECT_EQ(text.err, "") << label;

        auto object = Quietly([&] { return property.EvaluateModelObject(env.get()); });
        EXPECT_EQ(object.value == nullptr, c.value == nullptr) << label;
        EXPECT_EQ(object.out, missing) << label;

        auto truth = Quietly([&] { return property.EvaluateBoolean(env.get()); });
        EXPECT_EQ(truth.value, c.value != nullptr) << label;
        EXPECT_EQ(truth.out + truth.err, "") << label;
    }
}

TEST_F(PropertyWalk, ReachesTheObjectAndStopsAtTheFirstGap)
{
    std::unique_ptr<MTTIExpression> deep(Prop("ignored", "/a/b"));
    EXPECT_EQ(deep->EvaluateModelObject(env.get()), b);
    root.calls.clear();
    a->calls.clear();
    std::unique_ptr<MTTIExpression> gap(Prop("n", "/a/x/b"));
    EXPECT_FALSE(gap->EvaluateBoolean(env.get()));
    EXPECT_EQ(root.calls, std::vector<std::string>({"GetProperty(a)"}));
    EXPECT_EQ(a->calls, std::vector<std::string>({"GetProperty(x)"}));
}

// A late environment has no model object: the walk fails at its start.
TEST(PropertyWithoutModel, FailsAtTheStart)
{
    TestLateEvaluator late;
    MTTEvaluationEnvironment env(&late);
    std::unique_ptr<MTTIExpression> property(Prop("n", "/"));
    auto truth = Quietly([&] { return property->EvaluateBoolean(&env); });
    EXPECT_FALSE(truth.value);
    EXPECT_EQ(truth.out, "");
    auto object = Quietly([&] { return property->EvaluateModelObject(&env); });
    EXPECT_EQ(object.value, nullptr);
    EXPECT_EQ(object.out, "ERROR: Property \"${n:}\" does not exist.\n");
}

TEST_F(PropertyWalk, LateEvaluationNeedsALateEvaluator)
{
    std::unique_ptr<MTTIExpression> property(Prop("n", "/a"));
    auto text = Quietly([&] { return S(property->LateEvaluate(env.get())); });
    EXPECT_EQ(text.value, "");
    EXPECT_EQ(text.out, "ERROR: late evaluation for property needs a late evaluator.\n");
    EXPECT_EQ(root.calls, std::vector<std::string>());
}

// A string literal is false only when it is exactly "false"; a variable is
// false when unset, "", "false" or "0"; an alias follows its expression's rule.
TEST_F(ValueTruth, TruthOfStringsVariablesAndAliases)
{
    struct Case {
        const char* value;
        bool asString;
        bool asVariable;
    } cases[] = {
        {"", true, false},     {"false", false, false}, {"0", true, false},   {"00", true, true},
        {"False", true, true}, {" ", true, true},       {"true", true, true}, {"no", true, true},
    };
    std::vector<std::unique_ptr<MTTIExpression>> bound;
    for (const Case& c : cases) {
        std::unique_ptr<MTTIExpression> literal(Str(c.value));
        EXPECT_EQ(literal->EvaluateBoolean(env.get()), c.asString) << '"' << c.value << '"';
        EXPECT_EQ(S(literal->EvaluateString(env.get())), c.value);

        env->AddVariable(MTTString("v"), MTTString(c.value), MTTVarString);
        std::unique_ptr<MTTIExpression> variable(Var("v"));
        EXPECT_EQ(variable->EvaluateBoolean(env.get()), c.asVariable) << '"' << c.value << '"';
        EXPECT_EQ(S(variable->EvaluateString(env.get())), c.value);

        bound.emplace_back(Str(c.value));
        env->AddAlias(MTTString("p"), bound.back().get());
        std::unique_ptr<MTTIExpression> alias(Var("p"));
        EXPECT_EQ(alias->EvaluateBoolean(env.get()), c.asString) << '"' << c.value << '"';
        EXPECT_EQ(S(alias->EvaluateString(env.get())), c.value);
        EXPECT_EQ(S(alias->LateEvaluate(env.get())), "p");
    }
    auto unset = Quietly([&] {
        std::unique_ptr<MTTIExpression> variable(Var("unset"));
        return std::make_pair(variable->EvaluateBoolean(env.get()),
                              S(variable->EvaluateString(env.get())) + S(variable->LateEvaluate(env.get())));
    });
    EXPECT_FALSE(unset.value.first);
    EXPECT_EQ(unset.value.second, "unset");
    EXPECT_EQ(unset.out + unset.err, "");
}

TEST(ValueExpressionPreconditions, NullEnvironmentGivesNeutralValues)
{
    const std::string report = Assertion("NULL != iEnvironment");
    std::unique_ptr<MTTIExpression> variable(Var("v")), property(Prop("n", "a"));
    for (auto* e : {variable.get(), property.get()}) {
        auto truth = Quietly([&] { return e->EvaluateBoolean(nullptr); });
        EXPECT_FALSE(truth.value);
        EXPECT_EQ(truth.err, report);
        auto text = Quietly([&] { return S(e->EvaluateString(nullptr)); });
        EXPECT_EQ(text.value, "");
        EXPECT_EQ(text.err, report);
    }
    auto object = Quietly([&] { return property->EvaluateModelObject(nullptr); });
    EXPECT_EQ(object.value, nullptr);
    EXPECT_EQ(object.err.rfind(report, 0), 0u);
    auto late = Quietly([&] { return S(property->LateEvaluate(nullptr)); });
    EXPECT_EQ(late.value, "");
    EXPECT_EQ(late.err, report);
    // A variable's late text never needs the environment.
    EXPECT_EQ(S(variable->LateEvaluate(nullptr)), "v");
}

}  // namespace
