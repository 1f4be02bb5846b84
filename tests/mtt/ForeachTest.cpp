#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationState.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"
#include "NodeKit.h"

using namespace kit;

namespace {

using Statement = std::unique_ptr<MTTIStatement>;

// The head of one generated loop over the list at iPath.
std::string LoopHead(const std::string& iPath)
{
    return "{for (int index_i = 0; index_i < size(" + iPath + "); index_i++) { \nenter(" + iPath + ",index_i);\n";
}
const std::string kLoopEnd = "leave();\n}}\n";

}  // namespace

TEST(Foreach, EvaluatesBodyOncePerElementWithTheElementCurrent)
{
    TestObject root;
    root.Set("name", "R");
    TestObject& items = root.AddList("items");
    std::vector<TestObject*> elements;
    for (const char* n : {"A", "B", "C"}) elements.push_back(&items.AddElement().Set("name", n));

    Statement loop(Foreach(Prop("ignored", "items"),
                           List({Expr(Prop("name", "")), AppendTo("seen", Prop("name", "this")), Text(";")})));
    MTTEvaluationEnvironment env(&root);
    Outcome run = Eval(loop.get(), &env);

    EXPECT_EQ("A;B;C;", run.text);
    EXPECT_EQ("", run.out + run.err);
    auto* node = dynamic_cast<MTTEvaluationOutputNode*>(run.output.get());
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(loop.get(), node->GetStatement());
    EXPECT_EQ(&items, node->GetModelObject());  // the list, not the current object
    ASSERT_EQ(3, node->GetChildCount());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(elements[i], node->GetChild(i)->GetModelObject()) << i;
    EXPECT_EQ((std::vector<std::string>{"GetSize()", "GetElement(0)", "GetElement(1)", "GetElement(2)"}), items.calls);
    // Variables outlive the element scopes; the scope stack is as before.
    EXPECT_EQ("ABC", ValueOf(env, "seen"));
    EXPECT_EQ(&root, env.GetCurrentModelObject());
    EXPECT_EQ(1, MTTEvaluationState::Of(&env).ScopeCount());
}

// Nested loops that restore the outer element after the inner one are
// checked end to end by the class generator (e2e).

TEST(Foreach, ListsWithoutElementsGiveAnEmptyNodeAndNeverRunTheBody)
{
    // A list object that reports a negative size.
    struct NegativeList : TestObject {
        NegativeList() : TestObject(1) { AddElement(); }
        int GetSize() override { return -2; }
    };
    TestObject root;
    root.AddList("l");
    NegativeList negative;
    for (TestObject* model : {static_cast<TestObject*>(&root), static_cast<TestObject*>(&negative)}) {
        Statement loop(Foreach(Prop("", model == &root ? "l" : ""), Special("BAD")));
        MTTEvaluationEnvironment env(model);
        Outcome run = Eval(loop.get(), &env);
        ASSERT_NE(nullptr, run.output);
        EXPECT_TRUE(run.output->IsEmpty());
        EXPECT_EQ("", run.out + run.err);
        EXPECT_EQ(model, env.GetCurrentModelObject());
    }
    EXPECT_TRUE(negative.calls.empty());  // no GetElement
}

TEST(Foreach, FailuresReportZeroBasedIndicesAndKeepTheScopeStack)
{
    struct Case {
        const char* what;
        MTTIExpression* (*list)();
        MTTIStatement* (*tail)();  // runs after "seen" grew
        const char* out;
        const char* err;
        const char* seen;
    };
    const Case cases[] = {
        {"not a list", []() { return Prop("", "plain"); }, []() { return Text("x"); },
         "ERROR: Foreach argument is not a list.\n", "", "<none>"},
        {"null element", []() { return Prop("", "holes"); }, []() { return Text("x"); },
         "ERROR: Element 1 of Foreach iterated list is NULL.\n", "", "A"},
        {"body fails first", []() { return Prop("", "good"); }, []() { return Special("TAB"); },
         "ERROR: Unknown text identifier in specialtext \"TAB\".ERROR: StatList failed evaluation for child 2.\n"
         "ERROR: Foreach failed evaluation for child 0.\n",
         "", "A"},
        {"body fails second", []() { return Prop("", "good"); },
         []() { return If(Eq(Prop("name", ""), Str("B")), Special("BAD"), Text("")); },
         "ERROR: Unknown text identifier in specialtext \"BAD\".ERROR: Evaluation error in if body.\n"
         "ERROR: StatList failed evaluation for child 2.\nERROR: Foreach failed evaluation for child 1.\n",
         "", "AB"},
        {"missing list", []() { return Prop("", "missing"); }, []() { return Text("x"); },
         "ERROR: Property \"${:missing}\" does not exist.\n", "", "<none>"},
        {"not a property", []() { return Str("good"); }, []() { return Text("x"); }, "",
         "ERROR: This expression does not evaluate to a model element.\n", "<none>"},
    };
    for (const Case& c : cases) {
        TestObject root;
        root.AddObject("plain").Set("name", "P");
        TestObject& holes = root.AddList("holes");
        holes.AddElement().Set("name", "A");
        holes.AddElement(nullptr);
        holes.AddElement().Set("name", "C");
        TestObject& good = root.AddList("good");
        good.AddElement().Set("name", "A");
        good.AddElement().Set("name", "B");
        Statement loop(Foreach(c.list(), List({AppendTo("seen", Prop("name", "")), c.tail()})));

        MTTEvaluationEnvironment env(&root);
        env.PushScope(&root);  // the loop runs one scope deep
        Outcome run = Eval(loop.get(), &env);
        EXPECT_EQ(nullptr, run.output) << c.what;
        EXPECT_EQ(c.out, run.out) << c.what;
        EXPECT_EQ(c.err, run.err) << c.what;
        EXPECT_EQ(c.seen, ValueOf(env, "seen")) << c.what;
        EXPECT_EQ(&root, env.GetCurrentModelObject()) << c.what;
        EXPECT_EQ(2, MTTEvaluationState::Of(&env).ScopeCount()) << c.what;
        if (std::string(c.what) == "null element") {
            EXPECT_EQ((std::vector<std::string>{"GetSize()", "GetElement(0)", "GetElement(1)"}), holes.calls);
        }
    }
}

TEST(Foreach, MissingChildrenAreReportedInBothModes)
{
    TestObject root;
    root.AddList("l").AddElement();
    TestLateEvaluator late;
    Statement noAction(Foreach(Prop("", "l"), nullptr));
    Statement noList(Foreach(nullptr, Text("x")));
    for (bool isLate : {false, true}) {
        MTTEvaluationEnvironment immediate(&root), lateEnv(&late);
        MTTEvaluationEnvironment& env = isLate ? lateEnv : immediate;
        Outcome r1 = Eval(noAction.get(), &env, isLate), r2 = Eval(noList.get(), &env, isLate);
        EXPECT_TRUE(r1.null && r2.null);
        EXPECT_EQ(Assertion("NULL != _action"), r1.err);
        EXPECT_EQ(Assertion("NULL != _variable"), r2.err);
        EXPECT_EQ(1, MTTEvaluationState::Of(&env).ScopeCount());
    }
}

TEST(Foreach, FunctionsDeclaredInTheBodyLiveOnlyInImmediateElementScopes)
{
    TestObject root;
    root.AddList("l").AddElement();
    TestLateEvaluator late;
    Statement loop(Foreach(Prop("", "l"), Function("f", {}, Text("f"))));
    Statement call(Call("f"));

    MTTEvaluationEnvironment immediate(&root);
    Eval(loop.get(), &immediate);
    Outcome after = Eval(call.get(), &immediate);
    EXPECT_EQ(nullptr, after.output);
    EXPECT_EQ("ERROR: Function \"f\" not found.\nERROR: function call: function \"f\" not defined.\n", after.out);

    // Late, the element exists only in the generated code: no scope is
    // pushed, so the declaration lands in the enclosing scope.
    MTTEvaluationEnvironment lateEnv(&late);
    Eval(loop.get(), &lateEnv, true);
    Outcome lateCall = Eval(call.get(), &lateEnv, true);
    EXPECT_EQ("f", lateCall.text);
    EXPECT_EQ(1, MTTEvaluationState::Of(&lateEnv).ScopeCount());
}

// Nested loops reuse the index name, each in its own block.
TEST(ForeachLate, EmitsCountedLoopsAndCallsTheEvaluatorInOrder)
{
    TestLateEvaluator late;
    MTTEvaluationEnvironment env(&late);
    Statement loop(Foreach(Prop("", "/classes"), List({Text("c"), Foreach(Prop("", "attrs"), Expr(Prop("n", "")))})));
    Outcome run = Eval(loop.get(), &env, true);
    EXPECT_EQ(LoopHead("/classes") + "c" + LoopHead("attrs") + "prop(,n)" + kLoopEnd + kLoopEnd, run.text);
    EXPECT_EQ("", run.out + run.err);
    EXPECT_EQ((std::vector<std::string>{"size(/classes)", "enter(/classes,index_i)", "size(attrs)",
                                        "enter(attrs,index_i)", "prop(,n)", "leave()", "leave()"}),
              late.calls);
    auto* node = dynamic_cast<MTTEvaluationOutputNode*>(run.output.get());
    ASSERT_NE(nullptr, node);
    ASSERT_EQ(3, node->GetChildCount());
    EXPECT_EQ(nullptr, node->GetModelObject());
    for (int i : {0, 2}) {
        auto* leaf = dynamic_cast<MTTEvaluationOutputLeaf*>(node->GetChild(i));
        ASSERT_NE(nullptr, leaf) << i;
        EXPECT_EQ(loop.get(), leaf->GetStatement());
        EXPECT_EQ(nullptr, leaf->GetModelObject());
        EXPECT_EQ(MTTLeafGeneratedText, leaf->GetLeafType());
    }
}

TEST(ForeachLate, ABodyOrPathFailureStillGivesTheLoopButNoEvaluatorGivesNull)
{
    TestLateEvaluator late;
    MTTEvaluationEnvironment env(&late);

    Statement failingBody(Foreach(Prop("", "x"), Special("BAD")));
    Outcome r1 = Eval(failingBody.get(), &env, true);
    EXPECT_EQ(LoopHead("x") + kLoopEnd, r1.text);
    EXPECT_EQ("ERROR: Unknown text identifier in specialtext \"BAD\".", r1.out);
    ASSERT_NE(nullptr, r1.output);
    EXPECT_EQ(2, static_cast<MTTEvaluationOutputNode*>(r1.output.get())->GetChildCount());

    Statement noPath(Foreach(Var("v"), Text("t")));
    Outcome r2 = Eval(noPath.get(), &env, true);
    EXPECT_EQ(LoopHead("") + "t" + kLoopEnd, r2.text);
    EXPECT_EQ("ERROR: This expression has no path.\nERROR: This expression has no path.\n", r2.err);

    TestObject root;
    MTTEvaluationEnvironment immediate(&root);
    Outcome r3 = Eval(failingBody.get(), &immediate, true);
    EXPECT_EQ(nullptr, r3.output);
    EXPECT_EQ("ERROR: Foreach needs a late evaluator.\n", r3.out);
    EXPECT_EQ("", r3.err);
}
