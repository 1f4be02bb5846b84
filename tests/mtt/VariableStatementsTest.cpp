#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"
#include "NodeKit.h"

using namespace kit;

namespace {

using Statement = std::unique_ptr<MTTIStatement>;
using Expression = std::unique_ptr<MTTIExpression>;

int Type(MTTEvaluationEnvironment& iEnv, const char* iName)
{
    return iEnv.GetVariableType(MTTString(iName));
}

// Evaluates a statement that is deleted afterwards (outputs never read
// through their statement pointer).
Outcome Exec(MTTIStatement* iStatement, MTTEvaluationEnvironment& ioEnv, bool iLate = false)
{
    Statement owned(iStatement);
    return Eval(owned.get(), &ioEnv, iLate);
}

// An output with no text: an empty node that records the current object.
void ExpectEmptyNode(const Outcome& iRun, MTLIModelObject* iModel, const std::string& iWhat)
{
    auto* node = dynamic_cast<MTTEvaluationOutputNode*>(iRun.output.get());
    ASSERT_NE(nullptr, node) << iWhat;
    EXPECT_EQ(0, node->GetChildCount()) << iWhat;
    EXPECT_EQ(iModel, node->GetModelObject()) << iWhat;
}

const std::string kReadOnly = "ERROR: trying to write in an alias to a read only expression under name \"q\".\n";

}  // namespace

TEST(VariableStatements, DeclarationsGiveInitialValuesInBothModesAndLateTexts)
{
    struct Case {
        const char* name;
        int type;
        const char* initial;
        const char* lateText;
    };
    const Case cases[] = {
        {"i", MTTVarInteger, "0", "int i = 0;\n"},
        {"s", MTTVarString, "", "KORUnicodeString s;\n"},
        {"x", 7, "", "KORUnicodeString x;\n"},  // any type but integer is a string
    };
    TestObject root;
    TestLateEvaluator late;
    for (const Case& c : cases) {
        MTTEvaluationEnvironment env(&root), lateEnv(&late);
        Outcome now = Exec(Declare(c.name, c.type), env);
        ExpectEmptyNode(now, &root, c.name);
        Outcome later = Exec(Declare(c.name, c.type), lateEnv, true);
        auto* leaf = dynamic_cast<MTTEvaluationOutputLeaf*>(later.output.get());
        ASSERT_NE(nullptr, leaf) << c.name;
        EXPECT_EQ(c.lateText, later.text);
        EXPECT_EQ(nullptr, leaf->GetModelObject());
        EXPECT_EQ(MTTLeafGeneratedText, leaf->GetLeafType());
        for (MTTEvaluationEnvironment* e : {&env, &lateEnv}) {
            EXPECT_EQ(c.initial, ValueOf(*e, c.name)) << c.name;
            EXPECT_EQ(c.type, Type(*e, c.name)) << c.name;
        }
        EXPECT_EQ("", now.out + now.err + later.out + later.err);
    }
}

TEST(VariableStatements, RedeclarationResetsTheValueButKeepsTheFirstType)
{
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    Exec(Assign("s", Str("abc")), env);
    Exec(Declare("s", MTTVarInteger), env);
    EXPECT_EQ("0", ValueOf(env, "s"));
    EXPECT_EQ(MTTVarString, Type(env, "s"));
    Exec(Declare("i", MTTVarInteger), env);
    Exec(Assign("i", Str("5")), env);
    Exec(Declare("i", MTTVarString), env);
    EXPECT_EQ("", ValueOf(env, "i"));
    EXPECT_EQ(MTTVarInteger, Type(env, "i"));

    // So the late "|=" still refuses the string and accepts the integer.
    Outcome refused = Exec(OrEquals("s", Str("F", false)), env, true);
    EXPECT_EQ(nullptr, refused.output);
    EXPECT_EQ("ERROR: Operation |= is forbidden with the non integer variable \"s\".\n", refused.err);
    EXPECT_EQ("i|=F;\n", Exec(OrEquals("i", Str("F", false)), env, true).text);
}

TEST(VariableStatements, AssignAndAppendActOnTheEnvironmentInBothModes)
{
    TestObject root;
    root.Set("v", "model");
    TestLateEvaluator late;
    for (bool isLate : {false, true}) {
        MTTEvaluationEnvironment immediate(&root), lateEnv(&late);
        MTTEvaluationEnvironment& env = isLate ? lateEnv : immediate;
        MTLIModelObject* current = env.GetCurrentModelObject();
        ExpectEmptyNode(Exec(Assign("a", Str("v")), env, isLate), current, "assign");
        ExpectEmptyNode(Exec(AppendTo("a", Str("w")), env, isLate), current, "append");
        ExpectEmptyNode(Exec(AppendTo("n", Str("b")), env, isLate), current, "append new");
        Exec(Declare("i", MTTVarInteger), env);
        Exec(Assign("i", Str("5")), env, isLate);
        Exec(AppendTo("i", Var("a")), env, isLate);
        EXPECT_EQ("vw", ValueOf(env, "a"));
        EXPECT_EQ(MTTVarString, Type(env, "a"));
        EXPECT_EQ("b", ValueOf(env, "n"));
        EXPECT_EQ(MTTVarString, Type(env, "n"));
        EXPECT_EQ("5vw", ValueOf(env, "i"));
        EXPECT_EQ(MTTVarInteger, Type(env, "i"));

        // An operand that is no string reports it and counts as empty.
        Outcome bad = Exec(AppendTo("a", Not(Var("a"))), env, isLate);
        EXPECT_NE(nullptr, bad.output);
        EXPECT_EQ("ERROR: This expression does not evaluate to a string.\n", bad.err);
        EXPECT_EQ("vw", ValueOf(env, "a"));
    }
    MTTEvaluationEnvironment env(&root);
    Exec(Assign("p", Prop("v", "")), env);
    EXPECT_EQ("model", ValueOf(env, "p"));
}

TEST(VariableStatements, OrEqualsJoinsWithABarImmediatelyAndReportsOnStandardError)
{
    TestObject root;
    root.Set("f", "B");
    MTTEvaluationEnvironment env(&root);
    Exec(Declare("flags", MTTVarInteger), env);
    ExpectEmptyNode(Exec(OrEquals("flags", Str("A")), env), &root, "or-equals");
    Exec(OrEquals("flags", Prop("f", "")), env);
    EXPECT_EQ("0|A|B", ValueOf(env, "flags"));
    EXPECT_EQ(MTTVarInteger, Type(env, "flags"));

    Exec(Assign("s", Str("x")), env);  // no type check immediately
    Exec(OrEquals("s", Str("y")), env);
    EXPECT_EQ("x|y", ValueOf(env, "s"));

    Outcome undeclared = Exec(List({OrEquals("u", Str("z"))}), env);
    EXPECT_EQ(nullptr, undeclared.output);
    EXPECT_EQ("ERROR: Variable \"u\" undeclared.\n", undeclared.err);
    EXPECT_EQ("ERROR: StatList failed evaluation for child 1.\n", undeclared.out);
    EXPECT_EQ("<none>", ValueOf(env, "u"));
}

TEST(VariableStatements, LateOrEqualsEmitsTheOperatorForIntegersAndLeavesTheValue)
{
    TestLateEvaluator late;
    MTTEvaluationEnvironment env(&late);
    Exec(Declare("mask", MTTVarInteger), env, true);
    Outcome run = Exec(OrEquals("mask", Str("F", false)), env, true);
    auto* leaf = dynamic_cast<MTTEvaluationOutputLeaf*>(run.output.get());
    ASSERT_NE(nullptr, leaf);
    EXPECT_EQ("mask|=F;\n", run.text);
    EXPECT_EQ(nullptr, leaf->GetModelObject());
    EXPECT_EQ("mask|=prop(/opts,bit);\n", Exec(OrEquals("mask", Prop("bit", "/opts")), env, true).text);
    EXPECT_EQ("mask|=\"q\";\n", Exec(OrEquals("mask", Str("q")), env, true).text);
    EXPECT_EQ("0", ValueOf(env, "mask"));

    Exec(Assign("str", Str("x")), env, true);
    Exec(Declare("seven", 7), env, true);
    for (const char* name : {"undeclared", "str", "seven"}) {
        Outcome refused = Exec(OrEquals(name, Str("F")), env, true);
        EXPECT_EQ(nullptr, refused.output) << name;
        EXPECT_EQ(std::string("ERROR: Operation |= is forbidden with the non integer variable \"") + name + "\".\n",
                  refused.err);
        EXPECT_EQ("", refused.out);
    }
}

TEST(VariableStatements, MissingValuesAreReportedWithoutCreatingTheVariable)
{
    TestObject root;
    for (bool isLate : {false, true}) {
        MTTEvaluationEnvironment env(&root);
        Exec(Declare("i", MTTVarInteger), env);
        for (MTTIStatement* s : {Assign("a", nullptr), AppendTo("b", nullptr), OrEquals("i", nullptr)}) {
            Outcome run = Exec(s, env, isLate);
            EXPECT_EQ(Assertion("NULL != _value"), run.err);
        }
        EXPECT_EQ("<none>", ValueOf(env, "a"));
        EXPECT_EQ("<none>", ValueOf(env, "b"));
        EXPECT_EQ("0", ValueOf(env, "i"));
    }
}

TEST(VariableStatements, WritesFollowVariableAliasesAndAreRefusedThroughOthers)
{
    TestObject root;
    MTTEvaluationEnvironment env(&root);
    Expression target(Var("target"));
    Expression literal(Str("lit"));
    env.PushScope(&root);
    env.AddAlias(MTTString("p"), target.get());
    env.AddAlias(MTTString("q"), literal.get());

    // p declares and types "target" (assign, append and "|=" through a
    // parameter are checked with the function calls).
    Exec(Declare("p", MTTVarInteger), env);
    EXPECT_EQ("0", ValueOf(env, "target"));
    EXPECT_EQ(MTTVarInteger, Type(env, "target"));
    EXPECT_EQ(MTTVarInteger, Type(env, "p"));

    // q stands for a literal: every write is refused on standard output,
    // the statement still succeeds.
    for (MTTIStatement* s :
         {Assign("q", Str("v")), AppendTo("q", Str("x")), Declare("q", MTTVarInteger), OrEquals("q", Str("z"))}) {
        Outcome run = Exec(s, env);
        EXPECT_NE(nullptr, run.output);
        EXPECT_EQ(kReadOnly, run.out);
        EXPECT_EQ("", run.err);
    }
    EXPECT_EQ("lit", ValueOf(env, "q"));
    EXPECT_EQ(MTTVarString, Type(env, "q"));
    Outcome lateRefused = Exec(OrEquals("q", Str("z")), env, true);
    EXPECT_EQ(nullptr, lateRefused.output);
    EXPECT_EQ("ERROR: Operation |= is forbidden with the non integer variable \"q\".\n", lateRefused.err);

    env.PopScope();
    EXPECT_EQ("<none>", ValueOf(env, "p"));
    EXPECT_EQ("<none>", ValueOf(env, "q"));
    EXPECT_EQ("0", ValueOf(env, "target"));
}
