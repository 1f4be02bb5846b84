#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MTTNodeClasses.h"
#include "MTTToStringVisitor.h"
#include "NodeKit.h"

using namespace kit;

namespace {

std::string Dump(MTTNode* iNode)
{
    std::unique_ptr<MTTNode> owned(iNode);
    return owned->ToString().ConvertToChar();
}

// The worked example: a text, an If and a call, with the property's
// relative flag as given.
MTTIStatement* Example(bool iRelative)
{
    return List(
        {Text("a"),
         If(And(Defined(Var("n")), Ne(Prop("p", iRelative ? "a/b" : "/a/b"), Str("x"))), Expr(Var("n")), List({})),
         Call("f", {Str("1"), Var("n")})});
}

}  // namespace

TEST(TreeDump, WorkedExample)
{
    EXPECT_EQ("(text \"a\")(if (defined (Var n) && (${p:a/b} != \"x\")) ((Var n)) )(call f (\"1\", (Var n)))",
              Dump(Example(true)));
    EXPECT_EQ("(text \"a\")(if (defined (Var n) && (${p:/a/b} != \"x\")) ((Var n)) )(call f (\"1\", (Var n)))",
              Dump(Example(false)));
}

TEST(TreeDump, EveryKindAndItsMissingChildren)
{
    MTTNodeFactory& f = Factory();
    MTTString nl("NL"), comment("not printed"), name("x");
    ListOfMTTString empty;
    struct Case {
        MTTNode* node;
        const char* dump;
    } cases[] = {
        {Text("say \"hi\"\n"), "(text \"say \"hi\"\n\")"},
        {Special("NL"), "(specialtext \"NL\")"},
        {f.makeStatComment(&comment), ""},
        {f.makeStatBeginStatement(), ""},
        {f.makeStatEndStatement(), ""},
        {List({}), ""},
        {List({Text("1"), Special("SPC"), Text("2")}), "(text \"1\")(specialtext \"SPC\")(text \"2\")"},
        {Str("q", false), "\"q\""},
        {Prop("n", ""), "${n:}"},
        {Prop("n", "/"), "${n:}"},
        {Prop("", "this/a"), "${:this/a}"},
        {Not(Not(Var("x"))), "!!(Var x)"},
        {Defined(nullptr), "defined NULL"},
        {f.makeExpEquals(Var("a"), Str("b")), "((Var a) == \"b\")"},
        {f.makeExpNotEquals(nullptr, nullptr), "(NULL != NULL)"},
        {f.makeExpOr(Var("a"), Var("b")), "((Var a) || (Var b))"},
        {f.makeExpLeq(Var("a"), Var("b")), "((Var a) <= (Var b))"},
        {f.makeExpGeq(Var("a"), Var("b")), "((Var a) >= (Var b))"},
        {f.makeExpLt(Var("a"), Var("b")), "((Var a) < (Var b))"},
        {f.makeExpGt(Var("a"), Var("b")), "((Var a) > (Var b))"},
        {If(Var("c"), Text("t"), nullptr), "(if (Var c) (text \"t\") NULL)"},
        {Foreach(Prop("", "/items"), Expr(Prop("name", ""))), "(foreach ${:/items} (${name:}))"},
        {Foreach(nullptr, nullptr), "(foreach NULL NULL)"},
        {Usercode(Prop("n", "a")), "(usercode ${n:a})"},
        {Expr(nullptr), "(NULL)"},
        {Function("f", {"a", "b"}, Text("x")), "(function f (a, b) {(text \"x\")})"},
        {f.makeStatFunctionDecl(&name, empty, nullptr), "(function x () {NULL})"},
        {Call("g"), "(call g ())"},
        {Call("g", {nullptr, Var("v")}), "(call g (NULL, (Var v)))"},
        {Declare("x", MTTVarInteger), "(declare x)"},
        {Assign("x", Str("v")), "((Var x) = \"v\")"},
        {AppendTo("x", Var("y")), "((Var x) += (Var y))"},
        {OrEquals("x", Str("F")), "((Var x) |= \"F\")"},
        {Assign("x", nullptr), "((Var x) = NULL)"},
        {AppendTo("x", nullptr), "((Var x) += NULL)"},
        {OrEquals("x", nullptr), "((Var x) |= NULL)"},
    };
    for (Case& c : cases) EXPECT_EQ(c.dump, Dump(c.node));
}

TEST(TreeDump, AVisitorGivenNoNodeReportsAndWritesNull)
{
    MTTString out;
    MTTToStringVisitor visitor(&out);
    auto text = Quietly([&] { return visitor.VisitStatText(nullptr); });
    EXPECT_EQ(S_OK, text.value);
    EXPECT_STREQ("NULL", out.ConvertToChar());
    EXPECT_EQ(Assertion("elem"), text.err);
    auto branch = Quietly([&] { return visitor.VisitStatIf(nullptr); });
    EXPECT_EQ(S_OK, branch.value);
    EXPECT_EQ(0u, branch.err.find(Assertion("node"))) << branch.err;
}
