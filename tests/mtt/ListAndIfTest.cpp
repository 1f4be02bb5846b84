// Statement lists (order, failure propagation, messages innermost first)
// and the conditional in both modes.

#include "ListOfMTTIStatement.h"
#include "MTTIStatement.h"
// A list refuses null on Append, so a hole can only come from a damaged
// tree; the test reaches the statement storage to make one.
#define private public
#include "MTTStatList.h"
#undef private

#include <gtest/gtest.h>

#include <memory>

#include "MTTEvaluationOutputNode.h"
#include "MTTExpAnd.h"
#include "MTTExpDefined.h"
#include "MTTExpEquals.h"
#include "MTTExpNot.h"
#include "MTTExpNotEquals.h"
#include "MTTExpOr.h"
#include "MTTStatIf.h"
#include "MTTStatSpecialText.h"
#include "NodeTestKit.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"

using namespace kit;

namespace {

const char* const kTab = "ERROR: Unknown text identifier in specialtext \"TAB\".";
MTTIStatement* Tab() { return new MTTStatSpecialText(MTTString("TAB")); }

struct Fixture : ::testing::Test {
    TestObject root;
    TestLateEvaluator evaluator;
    MTTEvaluationEnvironment now{&root};
    MTTEvaluationEnvironment later{&evaluator};
};

using StatementList = Fixture;
using IfNow = Fixture;
using IfLate = Fixture;

TEST_F(StatementList, EmptyListGivesEmptyNodeInBothModes)
{
    MTTStatList list;
    for (int mode = 0; mode < 2; ++mode) {
        std::unique_ptr<MTTEvaluationOutput> out(mode == 0 ? list.Evaluate(&now) : list.LateEvaluate(&later));
        ASSERT_NE(out, nullptr);
        ASSERT_EQ(out->GetMTTEvaluationOutputType(), MTTOutputNode);
        EXPECT_TRUE(out->IsEmpty());
        EXPECT_EQ(out->GetStatement(), &list);
    }
}

TEST_F(StatementList, JoinsOutputsInOrderAndKeepsOneChildPerStatement)
{
    TestObject& inner = root.AddObject("inner");
    now.PushScope(&inner);
    std::unique_ptr<MTTStatList> list(List({Text("a"), List({Text("b"), Text("")}), Text("c")}));
    std::unique_ptr<MTTEvaluationOutput> out(list->Evaluate(&now));
    ASSERT_NE(out, nullptr);
    auto* node = static_cast<MTTEvaluationOutputNode*>(out.get());
    EXPECT_EQ(node->GetChildCount(), 3);
    EXPECT_EQ(node->GetModelObject(), &inner);
    MTTString text;
    node->toString(text);
    EXPECT_EQ(S(text), "abc");

    std::unique_ptr<MTTEvaluationOutput> lateOut(list->LateEvaluate(&now));
    ASSERT_NE(lateOut, nullptr);
    EXPECT_EQ(lateOut->GetModelObject(), nullptr);
}

// The first failing statement ends the list; what ran before stays done, what
// follows never runs; messages come innermost first.
TEST_F(StatementList, FailurePropagatesWithMessagesInnermostFirst)
{
    for (int mode = 0; mode < 2; ++mode) {
        MTTEvaluationEnvironment& env = mode == 0 ? now : later;
        const std::string failed = mode == 0 ? "ERROR: StatList failed evaluation for child " : "ERROR: StatList failed late evaluation for child ";
        auto* first = new Probe("one", false, "x");
        auto* third = new Probe("three");
        std::unique_ptr<MTTStatList> list(List({first, Tab(), third}));
        Outcome r = mode == 0 ? Eval(list.get(), &env) : Late(list.get(), &env);
        EXPECT_TRUE(r.null);
        EXPECT_EQ(r.out, kTab + failed + "2.\n");
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(ValueOf(env, "x"), "one");
        EXPECT_EQ(first->evaluated + first->lateEvaluated, 1);
        EXPECT_EQ(third->evaluated + third->lateEvaluated, 0);

        std::unique_ptr<MTTStatList> nested(List({Text("a"), Text("b"), List({Text("c"), new Probe("", true)})}));
        r = mode == 0 ? Eval(nested.get(), &env) : Late(nested.get(), &env);
        EXPECT_TRUE(r.null);
        EXPECT_EQ(r.out, failed + "2.\n" + failed + "3.\n");
    }
}

// A statement appended by an earlier one is evaluated: the count is read
// again after each statement.
class Appender : public Probe {
public:
    explicit Appender(MTTStatList* iList) : Probe("grow"), _list(iList) {}
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override
    {
        _list->Append(Text("!"));
        return Probe::Evaluate(iEnvironment);
    }
    MTTStatList* _list;
};

TEST_F(StatementList, ReadsTheCountAgainAfterEachStatement)
{
    std::unique_ptr<MTTStatList> list(new MTTStatList());
    list->Append(new Appender(list.get()));
    list->Append(Text("b"));
    EXPECT_EQ(Eval(list.get(), &now).text, "growb!");
}

TEST_F(StatementList, NullStatementIsMalformedNowAndAnAssertionLate)
{
    auto* first = new Probe("one");
    std::unique_ptr<MTTStatList> list(List({first}));
    list->_statements.Append(nullptr);
    list->_statements.Append(Text("never"));

    Outcome r = Eval(list.get(), &now);
    EXPECT_TRUE(r.null);
    EXPECT_EQ(r.out, "ERROR: malformed MTTStatList.\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(first->evaluated, 1);

    r = Late(list.get(), &later);
    EXPECT_TRUE(r.null);
    EXPECT_EQ(r.err, Assertion("NULL != elem"));
    EXPECT_EQ(r.out.find("malformed"), std::string::npos);
    EXPECT_EQ(list->GetChildCount(), 3);
    EXPECT_EQ(list->GetChild(2), nullptr);
}

TEST_F(StatementList, NullEnvironmentIsReported)
{
    std::unique_ptr<MTTStatList> list(List({Text("a")}));
    for (const Outcome& r : {Eval(list.get(), nullptr), Late(list.get(), nullptr)}) {
        EXPECT_TRUE(r.null);
        EXPECT_EQ(r.err, Assertion("NULL != iEnvironment"));
    }
}

// Immediately only the chosen part runs, and its output is the single child
// even when empty.
TEST_F(IfNow, EvaluatesOnlyTheChosenPart)
{
    struct Case {
        MTTIExpression* cond;
        bool then;
    } cases[] = {
        {Str("true"), true},
        {Str("false"), false},
        {Prop({}, true, "n"), true},
        {Prop({"missing"}, false, "n"), false},
        {new MTTExpNot(Var("unset")), true},
    };
    for (const Case& c : cases) {
        auto* thenPart = new Probe("T");
        auto* elsePart = new Probe("E");
        MTTStatIf statement(c.cond, thenPart, elsePart);
        std::unique_ptr<MTTEvaluationOutput> out;
        {
            StreamCapture quiet;
            out.reset(statement.Evaluate(&now));
            EXPECT_EQ(quiet.Out() + quiet.Err(), "");
        }
        ASSERT_NE(out, nullptr);
        auto* node = static_cast<MTTEvaluationOutputNode*>(out.get());
        ASSERT_EQ(node->GetChildCount(), 1);
        EXPECT_EQ(node->GetStatement(), &statement);
        EXPECT_EQ(node->GetModelObject(), &root);
        EXPECT_EQ(thenPart->evaluated, c.then ? 1 : 0);
        EXPECT_EQ(elsePart->evaluated, c.then ? 0 : 1);
        EXPECT_EQ(thenPart->lateEvaluated + elsePart->lateEvaluated, 0);
    }

    MTTStatIf emptyElse(Str("false"), Text("T"), new MTTStatList());
    std::unique_ptr<MTTEvaluationOutput> out(emptyElse.Evaluate(&now));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(static_cast<MTTEvaluationOutputNode*>(out.get())->GetChildCount(), 1);
    EXPECT_FALSE(out->IsEmpty());
}

TEST_F(IfNow, FailuresAndMissingPieces)
{
    struct Case {
        MTTIExpression* cond;
        MTTIStatement* thenPart;
        MTTIStatement* elsePart;
        bool nullEnvironment;
        bool null;
        const char* out;
        std::string err;
    } cases[] = {
        {Str("true"), Tab(), Text("E"), false, true, "ERROR: Unknown text identifier in specialtext \"TAB\".ERROR: Evaluation error in if body.\n", ""},
        {Str("true"), Text("T"), Tab(), false, false, "", ""},
        {Str("true"), Text("T"), nullptr, false, false, "", ""},
        {Str("false"), nullptr, Text("E"), false, false, "", ""},
        {Str("true"), nullptr, Text("E"), false, true, "", Assertion("_then")},
        {Str("false"), Text("T"), nullptr, false, true, "", Assertion("_else")},
        {nullptr, Text("T"), Text("E"), false, true, "", Assertion("NULL != _cond")},
        {Str("true"), Text("T"), Text("E"), true, true, "", Assertion("NULL != iEnvironment")},
    };
    for (const Case& c : cases) {
        MTTStatIf statement(c.cond, c.thenPart, c.elsePart);
        Outcome r = Eval(&statement, c.nullEnvironment ? nullptr : &now);
        EXPECT_EQ(r.null, c.null) << c.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

// Late: a condition without any property is decided now and only the chosen
// part's late output stays (nothing when it is empty or null); a property
// anywhere in the condition makes an if construct around both parts.
TEST_F(IfLate, DecidesPropertyFreeConditionsAtOnce)
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
        {new MTTExpEquals(Str("a", true), Str("b", true)), Text("T"), Text("E"), 1, "E", ""},
        {new MTTExpOr(Var("off"), Var("on")), Text("T"), Text("E"), 1, "T", ""},
        {Str("false"), Text("T"), new MTTStatList(), 0, "", ""},
        {Str("true"), Text(""), Text("E"), 0, "", ""},
        {Str("true"), Tab(), Text("E"), 0, "", kTab},
    };
    for (const Case& c : cases) {
        MTTStatIf statement(c.cond, c.thenPart, c.elsePart);
        StreamCapture capture;
        std::unique_ptr<MTTEvaluationOutput> out(statement.LateEvaluate(&later));
        capture.Stop();
        ASSERT_NE(out, nullptr);
        auto* node = static_cast<MTTEvaluationOutputNode*>(out.get());
        EXPECT_EQ(node->GetChildCount(), c.children);
        EXPECT_EQ(node->GetModelObject(), nullptr);
        MTTString text;
        node->toString(text);
        EXPECT_EQ(S(text), c.text);
        EXPECT_EQ(capture.Out(), c.out);
    }
    EXPECT_TRUE(evaluator.calls.empty());
}

TEST_F(IfLate, PropertyConditionsBecomeIfConstructs)
{
    const char* noLate = "ERROR: This expression has no late evaluation.\n";
    struct Case {
        MTTIExpression* cond;
        MTTIStatement* thenPart;
        MTTIStatement* elsePart;
        const char* text;
        const char* err;
    } cases[] = {
        {Prop({"a"}, true, "n"), Text("T"), Text("E"), "if (prop(a,n)) {\nT} else {\nE}\n", ""},
        {new MTTExpEquals(Prop({"a", "b"}, false, "n"), Str("x", true)), Text("T"), new MTTStatList(),
         "if (( prop(/a/b,n) == \"x\" )) {\nT}\n", ""},
        {new MTTExpNot(Prop({}, true, "n")), Text("T"), Text("E"), "if () {\nT} else {\nE}\n", noLate},
        {new MTTExpAnd(Var("v"), new MTTExpNot(new MTTExpDefined(Prop({"p"}, true, "n")))), new MTTStatList(), Text("E"),
         "if (( v &&  )) {\n} else {\nE}\n", noLate},
        {new MTTExpEquals(Var("v"), Prop({}, false, "n")), Text(""), Text(""), "if (( v == prop(/,n) )) {\n}\n", ""},
        {new MTTExpNotEquals(Str("q"), Prop({"a"}, true, "n")), Text("T"), Tab(), "if (( q != prop(a,n) )) {\nT}\n", ""},
    };
    for (const Case& c : cases) {
        MTTStatIf statement(c.cond, c.thenPart, c.elsePart);
        Outcome r = Late(&statement, &later);
        EXPECT_FALSE(r.null);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.err, c.err);
    }
}

TEST_F(IfLate, ConstructLeavesBelongToTheIf)
{
    auto* thenPart = new Probe("T");
    auto* elsePart = new Probe("E");
    MTTStatIf statement(Prop({"a"}, true, "n"), thenPart, elsePart);
    std::unique_ptr<MTTEvaluationOutput> out(statement.LateEvaluate(&later));
    ASSERT_NE(out, nullptr);
    auto* node = static_cast<MTTEvaluationOutputNode*>(out.get());
    const char* pieces[] = {"if (", "prop(a,n)", ") {\n", "T", "} else {\n", "E", "}\n"};
    ASSERT_EQ(node->GetChildCount(), 7);
    for (int i = 0; i < 7; ++i) {
        auto* leaf = static_cast<MTTEvaluationOutputLeaf*>(node->GetChild(i));
        EXPECT_EQ(S(leaf->GetText()), pieces[i]);
        if (i == 3 || i == 5) continue;
        EXPECT_EQ(leaf->GetStatement(), &statement);
        EXPECT_EQ(leaf->GetModelObject(), nullptr);
        EXPECT_EQ(leaf->GetLeafType(), MTTLeafGeneratedText);
    }
    EXPECT_EQ(thenPart->lateEvaluated, 1);
    EXPECT_EQ(elsePart->lateEvaluated, 1);
    EXPECT_EQ(thenPart->evaluated + elsePart->evaluated, 0);

    // An empty then-output still takes its place; an empty else-output does not.
    MTTStatIf emptyParts(Prop({"a"}, true, "n"), Text(""), new MTTStatList());
    std::unique_ptr<MTTEvaluationOutput> empty(emptyParts.LateEvaluate(&later));
    ASSERT_NE(empty, nullptr);
    node = static_cast<MTTEvaluationOutputNode*>(empty.get());
    ASSERT_EQ(node->GetChildCount(), 5);
    EXPECT_TRUE(node->GetChild(3)->IsEmpty());
}

// A variable bound to a property is decided at once through the alias:
// see FunctionsTest, LateCallsInlineTheBodyInAScopeWithoutModelObject.

TEST_F(IfLate, ChecksAllPartsUpFront)
{
    struct Case {
        MTTIExpression* cond;
        MTTIStatement* thenPart;
        MTTIStatement* elsePart;
        bool nullEnvironment;
        const char* condition;
    } cases[] = {
        {Str("true"), Text("T"), Text("E"), true, "NULL != iEnvironment"},
        {nullptr, Text("T"), Text("E"), false, "NULL != _cond"},
        {Str("false"), nullptr, Text("E"), false, "NULL != _then"},
        {Str("true"), Text("T"), nullptr, false, "NULL != _else"},
    };
    for (const Case& c : cases) {
        MTTStatIf statement(c.cond, c.thenPart, c.elsePart);
        Outcome r = Late(&statement, c.nullEnvironment ? nullptr : &later);
        EXPECT_TRUE(r.null) << c.condition;
        EXPECT_EQ(r.err, Assertion(c.condition));
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
