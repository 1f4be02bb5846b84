// Logical connectives, negation, defined and the six text comparisons:
// truth values, short-circuit, late texts and missing operands.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "MTTExpAnd.h"
#include "MTTExpDefined.h"
#include "MTTExpEquals.h"
#include "MTTExpGEQ.h"
#include "MTTExpGT.h"
#include "MTTExpLEQ.h"
#include "MTTExpLT.h"
#include "MTTExpNot.h"
#include "MTTExpNotEquals.h"
#include "MTTExpOr.h"
#include "NodeKit.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"

using namespace kit;

namespace {

using Make = std::function<MTTIExpression*(MTTIExpression*, MTTIExpression*)>;

struct Operator {
    const char* text;
    Make make;
};

const Operator kComparisons[] = {
    {"==", [](MTTIExpression* l, MTTIExpression* r) { return new MTTExpEquals(l, r); }},
    {"!=", [](MTTIExpression* l, MTTIExpression* r) { return new MTTExpNotEquals(l, r); }},
    {"<", [](MTTIExpression* l, MTTIExpression* r) { return new MTTExpLT(l, r); }},
    {"<=", [](MTTIExpression* l, MTTIExpression* r) { return new MTTExpLEQ(l, r); }},
    {">", [](MTTIExpression* l, MTTIExpression* r) { return new MTTExpGT(l, r); }},
    {">=", [](MTTIExpression* l, MTTIExpression* r) { return new MTTExpGEQ(l, r); }},
};
const Operator kAnd = {"&&", [](MTTIExpression* l, MTTIExpression* r) { return new MTTExpAnd(l, r); }};
const Operator kOr = {"||", [](MTTIExpression* l, MTTIExpression* r) { return new MTTExpOr(l, r); }};

// An operand that prints when it is evaluated at all: a comparison with a
// missing property writes the property's error line.
MTTIExpression* Noisy()
{
    return new MTTExpEquals(Prop("n", "/missing"), Str(""));
}
const char* const kNoisyLine = "ERROR: Property \"${n:/missing}\" does not exist.\n";

struct Env : ::testing::Test {
    TestObject root;
    MTTEvaluationEnvironment env{&root};
    void SetUp() override
    {
        root.Set("name", "abc");
        root.AddObject("child");
        env.AddVariable(MTTString("v"), MTTString("abc"), MTTVarString);
    }
    Result<bool> Truth(MTTIExpression* iExpression)
    {
        std::unique_ptr<MTTIExpression> owned(iExpression);
        return Quietly([&] { return owned->EvaluateBoolean(&env); });
    }
};

using TextComparisons = Env;
using LogicalOperators = Env;

// Text comparisons of every kind of operand: tests/host/parser/golden/comparisons.

// A condition as operand has no string value: it is reported and compared
// as the empty text; both operands are always evaluated, left first.
TEST_F(TextComparisons, ConditionOperandsCountAsEmptyText)
{
    auto r = Truth(new MTTExpEquals(new MTTExpNot(Str("x")), Str("")));
    EXPECT_TRUE(r.value);
    EXPECT_EQ(r.err, "ERROR: This expression does not evaluate to a string.\n");
    r = Truth(new MTTExpLT(Prop("n", "/l"), Prop("n", "/r")));
    EXPECT_FALSE(r.value);
    EXPECT_EQ(r.out, "ERROR: Property \"${n:/l}\" does not exist.\nERROR: Property \"${n:/r}\" does not exist.\n");
}

TEST_F(LogicalOperators, TruthTablesAndShortCircuit)
{
    struct Case {
        const Operator* op;
        const char* lhs;
        bool rhsNoisy;
        const char* rhs;
        bool value;
        const char* out;
    } cases[] = {
        {&kAnd, "true", false, "true", true, ""},   {&kAnd, "true", false, "false", false, ""},
        {&kAnd, "false", false, "true", false, ""}, {&kAnd, "false", false, "false", false, ""},
        {&kOr, "true", false, "false", true, ""},   {&kOr, "false", false, "true", true, ""},
        {&kOr, "false", false, "false", false, ""}, {&kOr, "true", false, "true", true, ""},
        {&kAnd, "false", true, nullptr, false, ""}, {&kAnd, "true", true, nullptr, true, kNoisyLine},
        {&kOr, "true", true, nullptr, true, ""},    {&kOr, "false", true, nullptr, true, kNoisyLine},
    };
    for (const Case& c : cases) {
        auto r = Truth(c.op->make(Str(c.lhs), c.rhsNoisy ? Noisy() : Str(c.rhs)));
        EXPECT_EQ(r.value, c.value) << c.lhs << ' ' << c.op->text;
        EXPECT_EQ(r.out, c.out) << c.lhs << ' ' << c.op->text;
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(LogicalOperators, NotAndDefined)
{
    struct Case {
        std::function<MTTIExpression*()> make;
        bool value;
    } cases[] = {
        {[] { return new MTTExpNot(Str("false")); }, true},
        {[] { return new MTTExpNot(Str("0")); }, false},
        {[] { return new MTTExpNot(new MTTExpNot(Var("v"))); }, true},
        {[] { return new MTTExpDefined(Var("v")); }, true},
        {[] { return new MTTExpDefined(Var("unset")); }, false},
        {[] { return new MTTExpDefined(Prop("ignored", "child")); }, true},
        {[] { return new MTTExpDefined(Prop("n", "nobody")); }, false},
        {[] { return new MTTExpDefined(Str("")); }, true},
        {[] { return new MTTExpNot(new MTTExpDefined(Prop("n", "nobody"))); }, true},
    };
    for (const Case& c : cases) {
        auto r = Truth(c.make());
        EXPECT_EQ(r.value, c.value);
        EXPECT_EQ(r.out + r.err, "");
    }
}

TEST(OperatorLate, FullyParenthesisedText)
{
    TestLateEvaluator late;
    MTTEvaluationEnvironment env(&late);
    for (const Operator* op : {&kComparisons[0], &kComparisons[1], &kComparisons[2], &kComparisons[3], &kComparisons[4],
                               &kComparisons[5], &kAnd, &kOr}) {
        std::unique_ptr<MTTIExpression> e(op->make(Var("a"), Str("b")));
        EXPECT_EQ(S(e->LateEvaluate(&env)), std::string("( a ") + op->text + " \"b\" )");
    }
    struct Case {
        MTTIExpression* expression;
        const char* text;
        const char* err;
    } cases[] = {
        {new MTTExpAnd(new MTTExpEquals(Var("a"), Var("b")), new MTTExpNotEquals(Var("c"), Var("d"))),
         "( ( a == b ) && ( c != d ) )", ""},
        {new MTTExpOr(Prop("n", "x"), new MTTExpGT(Str("1", false), Prop("m", "/"))),
         "( prop(x,n) || ( 1 > prop(/,m) ) )", ""},
        {new MTTExpAnd(new MTTExpNot(Var("y")), Var("x")), "(  && x )",
         "ERROR: This expression has no late evaluation.\n"},
        {new MTTExpNot(Var("x")), "", "ERROR: This expression has no late evaluation.\n"},
        {new MTTExpDefined(Var("x")), "", "ERROR: This expression has no late evaluation.\n"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<MTTIExpression> owned(c.expression);
        auto r = Quietly([&] { return S(owned->LateEvaluate(&env)); });
        EXPECT_EQ(r.value, c.text);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
}

// Missing operands are reported and give false or an empty text.
TEST(OperatorPreconditions, MissingOperands)
{
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    struct Case {
        MTTIExpression* expression;
        std::string truthErr;
        std::string lateErr;
    } cases[] = {
        {new MTTExpAnd(nullptr, Str("true")), Assertion("NULL != _lhs"), Assertion("NULL != _lhs && NULL != _rhs")},
        {new MTTExpOr(Str("true"), nullptr), Assertion("NULL != _rhs"), Assertion("NULL != _lhs && NULL != _rhs")},
        {new MTTExpEquals(nullptr, nullptr), Assertion("NULL != _lhs") + Assertion("NULL != _rhs"),
         Assertion("NULL != _lhs && NULL != _rhs")},
        {new MTTExpNotEquals(Str(""), nullptr), Assertion("NULL != _rhs"), Assertion("NULL != _lhs && NULL != _rhs")},
        {new MTTExpNot(nullptr), Assertion("NULL != _arg"), "ERROR: This expression has no late evaluation.\n"},
        {new MTTExpDefined(nullptr), Assertion("NULL != _arg"), "ERROR: This expression has no late evaluation.\n"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<MTTIExpression> owned(c.expression);
        auto truth = Quietly([&] { return owned->EvaluateBoolean(&env); });
        EXPECT_FALSE(truth.value) << c.truthErr;
        EXPECT_EQ(truth.err, c.truthErr);
        auto late = Quietly([&] { return S(owned->LateEvaluate(&env)); });
        EXPECT_EQ(late.value, "") << c.lateErr;
        EXPECT_EQ(late.err, c.lateErr);
    }
}

}  // namespace
