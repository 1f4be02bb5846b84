#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MTTNodeClasses.h"
#include "MTTToStringVisitor.h"
#include "TreeBuilder.h"

namespace {

std::string Dump(MTTNode* iNode)
{
    std::unique_ptr<MTTNode> owned(iNode);
    return owned->ToString().ConvertToChar();
}

// The worked example: a text, an If and a call, with the property's
// relative flag as given.
MTTIStatement* Example(TreeBuilder& b, bool iRelative)
{
    return b.List({b.Text("a"),
                   b.If(b.And(b.Defined(b.Var("n")), b.Ne(b.Prop("p", iRelative ? "a/b" : "/a/b"), b.Str("x"))),
                        b.Expr(b.Var("n")), b.List({})),
                   b.Call("f", {b.Str("1"), b.Var("n")})});
}

}  // namespace

TEST(TreeDump, WorkedExample)
{
    TreeBuilder b;
    EXPECT_EQ("(text \"a\")(if (defined (Var n) && (${p:a/b} != \"x\")) ((Var n)) )(call f (\"1\", (Var n)))",
              Dump(Example(b, true)));
    EXPECT_EQ("(text \"a\")(if (defined (Var n) && (${p:/a/b} != \"x\")) ((Var n)) )(call f (\"1\", (Var n)))",
              Dump(Example(b, false)));
}

TEST(TreeDump, EveryKindAndItsMissingChildren)
{
    TreeBuilder b;
    MTTNodeFactory& f = b.Factory();
    MTTString nl("NL"), comment("not printed"), name("x");
    ListOfMTTString empty;
    struct Case {
        MTTNode* node;
        const char* dump;
    } cases[] = {
        {b.Text("say \"hi\"\n"), "(text \"say \"hi\"\n\")"},
        {b.Special("NL"), "(specialtext \"NL\")"},
        {f.makeStatComment(&comment), ""},
        {f.makeStatBeginStatement(), ""},
        {f.makeStatEndStatement(), ""},
        {b.List({}), ""},
        {b.List({b.Text("1"), b.Special("SPC"), b.Text("2")}), "(text \"1\")(specialtext \"SPC\")(text \"2\")"},
        {b.Str("q", false), "\"q\""},
        {b.Prop("n", ""), "${n:}"},
        {b.Prop("n", "/"), "${n:}"},
        {b.Prop("", "this/a"), "${:this/a}"},
        {b.Not(b.Not(b.Var("x"))), "!!(Var x)"},
        {b.Defined(nullptr), "defined NULL"},
        {f.makeExpEquals(b.Var("a"), b.Str("b")), "((Var a) == \"b\")"},
        {f.makeExpNotEquals(nullptr, nullptr), "(NULL != NULL)"},
        {f.makeExpOr(b.Var("a"), b.Var("b")), "((Var a) || (Var b))"},
        {f.makeExpLeq(b.Var("a"), b.Var("b")), "((Var a) <= (Var b))"},
        {f.makeExpGeq(b.Var("a"), b.Var("b")), "((Var a) >= (Var b))"},
        {f.makeExpLt(b.Var("a"), b.Var("b")), "((Var a) < (Var b))"},
        {f.makeExpGt(b.Var("a"), b.Var("b")), "((Var a) > (Var b))"},
        {b.If(b.Var("c"), b.Text("t"), nullptr), "(if (Var c) (text \"t\") NULL)"},
        {b.Foreach(b.Prop("", "/items"), b.Expr(b.Prop("name", ""))), "(foreach ${:/items} (${name:}))"},
        {b.Foreach(nullptr, nullptr), "(foreach NULL NULL)"},
        {b.Usercode(b.Prop("n", "a")), "(usercode ${n:a})"},
        {b.Expr(nullptr), "(NULL)"},
        {b.Function("f", {"a", "b"}, b.Text("x")), "(function f (a, b) {(text \"x\")})"},
        {f.makeStatFunctionDecl(&name, empty, nullptr), "(function x () {NULL})"},
        {b.Call("g"), "(call g ())"},
        {b.Call("g", {nullptr, b.Var("v")}), "(call g (NULL, (Var v)))"},
        {b.Declare("x", MTTVarInteger), "(declare x)"},
        {b.Assign("x", b.Str("v")), "((Var x) = \"v\")"},
        {b.AppendTo("x", b.Var("y")), "((Var x) += (Var y))"},
        {b.OrEquals("x", b.Str("F")), "((Var x) |= \"F\")"},
        {b.Assign("x", nullptr), "((Var x) = NULL)"},
        {b.AppendTo("x", nullptr), "((Var x) += NULL)"},
        {b.OrEquals("x", nullptr), "((Var x) |= NULL)"},
    };
    for (Case& c : cases) EXPECT_EQ(c.dump, Dump(c.node));
}

TEST(TreeDump, AVisitorGivenNoNodeReportsAndWritesNull)
{
    MTTString out;
    MTTToStringVisitor visitor(&out);
    StreamCapture capture;
    EXPECT_EQ(S_OK, visitor.VisitStatText(nullptr));
    EXPECT_STREQ("NULL", out.ConvertToChar());
    EXPECT_EQ(S_OK, visitor.VisitStatIf(nullptr));
    std::string err = capture.Err();
    EXPECT_EQ(0u, err.find("AssertionFailed in MTTToStringVisitor.cpp, ")) << err;
    EXPECT_NE(std::string::npos, err.find(" :elem")) << err;
    EXPECT_NE(std::string::npos, err.find(" :node")) << err;
}
