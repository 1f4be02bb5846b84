// Statement lists (order, failure propagation, messages innermost first)
// and the conditional in both modes.

#include <gtest/gtest.h>

#include <memory>

#include "MTTEvaluationOutputNode.h"
#include "MTTStatIf.h"
#include "MTTStatList.h"
#include "NodeKit.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"

using namespace kit;

namespace {

const char* const kTab = "ERROR: Unknown text identifier in specialtext \"TAB\".";
MTTIStatement* Tab()
{
    return Special("TAB");
}
MTTEvaluationOutputNode* NodeOf(const Outcome& iRun)
{
    return dynamic_cast<MTTEvaluationOutputNode*>(iRun.output.get());
}

struct Fixture : ::testing::Test {
    TestObject root;
    TestLateEvaluator evaluator;
    MTTEvaluationEnvironment now{&root};
    MTTEvaluationEnvironment later{&evaluator};
    MTTEvaluationEnvironment& Env(bool iLate) { return iLate ? later : now; }
};

using StatementList = Fixture;
using IfStatement = Fixture;

TEST_F(StatementList, JoinsOutputsInOrderWithOneChildPerStatement)
{
    TestObject& inner = root.AddObject("inner");
    now.PushScope(&inner);
    std::unique_ptr<MTTIStatement> list(List({Text("a"), List({Text("b"), Text("")}), Text("c")})), empty(List({}));
    Outcome r = Eval(list.get(), &now);
    ASSERT_NE(NodeOf(r), nullptr);
    EXPECT_EQ(NodeOf(r)->GetChildCount(), 3);
    EXPECT_EQ(r.output->GetModelObject(), &inner);
    EXPECT_EQ(r.text, "abc");
    EXPECT_EQ(Late(list.get(), &now).output->GetModelObject(), nullptr);
    for (bool isLate : {false, true}) {
        Outcome e = Eval(empty.get(), &Env(isLate), isLate);
        ASSERT_NE(NodeOf(e), nullptr);
        EXPECT_TRUE(e.output->IsEmpty());
        EXPECT_EQ(e.output->GetStatement(), empty.get());
    }
}

// The first failing statement ends the list; what ran before stays done, what
// follows never runs; messages come innermost first.
TEST_F(StatementList, FailurePropagatesWithMessagesInnermostFirst)
{
    for (bool isLate : {false, true}) {
        MTTEvaluationEnvironment& env = Env(isLate);
        const std::string failed = isLate ? "ERROR: StatList failed late evaluation for child "
                                          : "ERROR: StatList failed evaluation for child ";
        auto* first = new Probe("one", false, "x");
        auto* third = new Probe("three");
        std::unique_ptr<MTTIStatement> list(List({first, Tab(), third}));
        Outcome r = Eval(list.get(), &env, isLate);
        EXPECT_TRUE(r.null);
        EXPECT_EQ(r.out, kTab + failed + "2.\n");
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(ValueOf(env, "x"), "one");
        EXPECT_EQ(first->evaluated + first->lateEvaluated, 1);
        EXPECT_EQ(third->evaluated + third->lateEvaluated, 0);

        std::unique_ptr<MTTIStatement> nested(List({Text("a"), Text("b"), List({Text("c"), new Probe("", true)})}));
        r = Eval(nested.get(), &env, isLate);
        EXPECT_TRUE(r.null);
        EXPECT_EQ(r.out, failed + "2.\n" + failed + "3.\n");
        EXPECT_EQ(Eval(list.get(), nullptr, isLate).err, Assertion("NULL != iEnvironment"));
    }
}

// A statement appended by an earlier one is evaluated: the count is read
// again after each statement.
class Appender : public Probe {
public:
    explicit Appender(MTTIStatement* iList) : Probe("grow"), _list(iList) {}
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override
    {
        _list->Append(Text("!"));
        return Probe::Evaluate(iEnvironment);
    }
    MTTIStatement* _list;
};

TEST_F(StatementList, ReadsTheCountAgainAfterEachStatement)
{
    std::unique_ptr<MTTIStatement> list(List({}));
    list->Append(new Appender(list.get()));
    list->Append(Text("b"));
    EXPECT_EQ(Eval(list.get(), &now).text, "growb!");
}

// Immediately only the chosen part runs, and its output is the single child
// even when empty.
TEST_F(IfStatement, NowEvaluatesOnlyTheChosenPart)
{
    struct Case {
        MTTIExpression* cond;
        bool then;
    } cases[] = {
        {Str("true"), true},       {Str("false"), false}, {Prop("n", ""), true}, {Prop("n", "/missing"), false},
        {Not(Var("unset")), true},
    };
    for (const Case& c : cases) {
        auto* thenPart = new Probe("T");
        auto* elsePart = new Probe("E");
        MTTStatIf statement(c.cond, thenPart, elsePart);
        Outcome r = Eval(&statement, &now);
        EXPECT_EQ(r.out + r.err, "");
        ASSERT_NE(NodeOf(r), nullptr);
        ASSERT_EQ(NodeOf(r)->GetChildCount(), 1);
        EXPECT_EQ(r.output->GetStatement(), &statement);
        EXPECT_EQ(r.output->GetModelObject(), &root);
        EXPECT_EQ(thenPart->evaluated, c.then ? 1 : 0);
        EXPECT_EQ(elsePart->evaluated, c.then ? 0 : 1);
        EXPECT_EQ(thenPart->lateEvaluated + elsePart->lateEvaluated, 0);
    }
    MTTStatIf emptyElse(Str("false"), Text("T"), List({}));
    Outcome r = Eval(&emptyElse, &now);
    ASSERT_NE(NodeOf(r), nullptr);
    EXPECT_EQ(NodeOf(r)->GetChildCount(), 1);
    EXPECT_FALSE(r.output->IsEmpty());
}

// Immediately only the chosen part must be there; late, all three parts are
// checked up front.
TEST_F(IfStatement, FailuresAndMissingPiecesInBothModes)
{
    struct Case {
        MTTIExpression* cond;
        MTTIStatement* thenPart;
        MTTIStatement* elsePart;
        bool nullEnvironment;
        bool null;
        const char* out;
        std::string err;
        std::string lateErr;
    } cases[] = {
        {Str("true"), Tab(), Text("E"), false, true,
         "ERROR: Unknown text identifier in specialtext \"TAB\".ERROR: Evaluation error in if body.\n", "", ""},
        {Str("true"), Text("T"), Tab(), false, false, "", "", ""},
        {Str("true"), Text("T"), nullptr, false, false, "", "", Assertion("NULL != _else")},
        {Str("false"), nullptr, Text("E"), false, false, "", "", Assertion("NULL != _then")},
        {Str("true"), nullptr, Text("E"), false, true, "", Assertion("_then"), Assertion("NULL != _then")},
        {Str("false"), Text("T"), nullptr, false, true, "", Assertion("_else"), Assertion("NULL != _else")},
        {nullptr, Text("T"), Text("E"), false, true, "", Assertion("NULL != _cond"), Assertion("NULL != _cond")},
        {Str("true"), Text("T"), Text("E"), true, true, "", Assertion("NULL != iEnvironment"),
         Assertion("NULL != iEnvironment")},
    };
    for (const Case& c : cases) {
        MTTStatIf statement(c.cond, c.thenPart, c.elsePart);
        Outcome r = Eval(&statement, c.nullEnvironment ? nullptr : &now);
        EXPECT_EQ(r.null, c.null) << c.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
        if (c.lateErr.empty()) continue;
        Outcome l = Late(&statement, c.nullEnvironment ? nullptr : &later);
        EXPECT_TRUE(l.null) << c.lateErr;
        EXPECT_EQ(l.err, c.lateErr);
        EXPECT_EQ(l.out, "");
    }
}

// Late: a condition without any property is decided now and only the chosen
// part's late output stays (nothing when it is empty or null); a property
// anywhere in the condition makes an if construct around both parts.
TEST_F(IfStatement, LateDecidesPropertyFreeConditionsAtOnce)
{
    later.AddVariable(MTTString("on"), MTTString("yes"), MTTVarString);
    struct Case {
        MTTIExpression* cond;
        MTTIStatement* thenPart;
        MTTIStatement* elsePart;
        int children;
        const char* text;
        const char* out;
    } cases[] = {
        {Eq(Str("a"), Str("b")), Text("T"), Text("E"), 1, "E", ""},
        {Or(Var("off"), Var("on")), Text("T"), Text("E"), 1, "T", ""},
        {Str("false"), Text("T"), List({}), 0, "", ""},
        {Str("true"), Text(""), Text("E"), 0, "", ""},
        {Str("true"), Tab(), Text("E"), 0, "", kTab},
    };
    for (const Case& c : cases) {
        MTTStatIf statement(c.cond, c.thenPart, c.elsePart);
        Outcome r = Late(&statement, &later);
        ASSERT_NE(NodeOf(r), nullptr);
        EXPECT_EQ(NodeOf(r)->GetChildCount(), c.children);
        EXPECT_EQ(r.output->GetModelObject(), nullptr);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.out, c.out);
    }
    EXPECT_TRUE(evaluator.calls.empty());
}

TEST_F(IfStatement, LatePropertyConditionsBecomeIfConstructs)
{
    const char* noLate = "ERROR: This expression has no late evaluation.\n";
    struct Case {
        MTTIExpression* cond;
        MTTIStatement* thenPart;
        MTTIStatement* elsePart;
        const char* text;
        const char* err;
    } cases[] = {
        {Prop("n", "a"), Text("T"), Text("E"), "if (prop(a,n)) {\nT} else {\nE}\n", ""},
        {Eq(Prop("n", "/a/b"), Str("x")), Text("T"), List({}), "if (( prop(/a/b,n) == \"x\" )) {\nT}\n", ""},
        {Not(Prop("n", "")), Text("T"), Text("E"), "if () {\nT} else {\nE}\n", noLate},
        {And(Var("v"), Not(Defined(Prop("n", "p")))), List({}), Text("E"), "if (( v &&  )) {\n} else {\nE}\n", noLate},
        {Eq(Var("v"), Prop("n", "/")), Text(""), Text(""), "if (( v == prop(/,n) )) {\n}\n", ""},
        {Ne(Str("q", false), Prop("n", "a")), Text("T"), Tab(), "if (( q != prop(a,n) )) {\nT}\n", ""},
    };
    for (const Case& c : cases) {
        MTTStatIf statement(c.cond, c.thenPart, c.elsePart);
        Outcome r = Late(&statement, &later);
        EXPECT_FALSE(r.null);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.err, c.err);
    }
}

// A variable bound to a property is decided at once through the alias:
// see FunctionsTest, LateCallsInlineTheBodyInAScopeWithoutModelObject.
TEST_F(IfStatement, LateConstructLeavesBelongToTheIf)
{
    auto* thenPart = new Probe("T");
    auto* elsePart = new Probe("E");
    MTTStatIf statement(Prop("n", "a"), thenPart, elsePart);
    Outcome r = Late(&statement, &later);
    ASSERT_NE(NodeOf(r), nullptr);
    const char* pieces[] = {"if (", "prop(a,n)", ") {\n", "T", "} else {\n", "E", "}\n"};
    ASSERT_EQ(NodeOf(r)->GetChildCount(), 7);
    for (int i = 0; i < 7; ++i) {
        auto* leaf = static_cast<MTTEvaluationOutputLeaf*>(NodeOf(r)->GetChild(i));
        EXPECT_EQ(S(leaf->GetText()), pieces[i]);
        if (i == 3 || i == 5) continue;
        EXPECT_EQ(leaf->GetStatement(), &statement);
        EXPECT_EQ(leaf->GetModelObject(), nullptr);
        EXPECT_EQ(leaf->GetLeafType(), MTTLeafGeneratedText);
    }
    EXPECT_EQ(thenPart->lateEvaluated + elsePart->lateEvaluated, 2);
    EXPECT_EQ(thenPart->evaluated + elsePart->evaluated, 0);

    // An empty then-output still takes its place; an empty else-output does not.
    MTTStatIf emptyParts(Prop("n", "a"), Text(""), List({}));
    Outcome empty = Late(&emptyParts, &later);
    ASSERT_NE(NodeOf(empty), nullptr);
    ASSERT_EQ(NodeOf(empty)->GetChildCount(), 5);
    EXPECT_TRUE(NodeOf(empty)->GetChild(3)->IsEmpty());
}

}  // namespace
