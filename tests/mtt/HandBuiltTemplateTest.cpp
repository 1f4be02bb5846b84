// A small template built by hand, as a parser would chain it, evaluated
// against a model and late-evaluated into source text.

#include <gtest/gtest.h>

#include <memory>

#include "MTTExpNotEquals.h"
#include "MTTExpEquals.h"
#include "MTTStatComment.h"
#include "MTTStatExpression.h"
#include "MTTStatIf.h"
#include "MTTStatSpecialText.h"
#include "NodeTestKit.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"

using namespace kit;

namespace {

// class <name> {            (the root's name)
//   // extends <base name>  (only when the current object has a base with a name)
//   public:                 (only when the variable kind is "struct")
// <version>};
MTTIStatement* BuildTemplate()
{
    MTTIStatement* tree = Text("class ");
    tree = tree->Append(new MTTStatExpression(Prop({}, false, "name")));
    tree = tree->Append(Text(" {\n"));
    tree = tree->Append(new MTTStatIf(new MTTExpNotEquals(Prop({"base"}, true, "name"), Str("", true)),
                                      List({Text("  // extends "), new MTTStatExpression(Prop({"base"}, true, "name")),
                                            new MTTStatSpecialText(MTTString("NL"))}),
                                      new MTTStatList()));
    tree = tree->Append(new MTTStatComment(MTTString("members follow")));
    tree = tree->Append(new MTTStatIf(new MTTExpEquals(Var("kind"), Str("struct", true)),
                                      List({Text("  public:"), new MTTStatSpecialText(MTTString("NL"))}), List({})));
    tree = tree->Append(new MTTStatExpression(Var("version")));
    tree = tree->Append(Text("};\n"));
    return tree;
}

TEST(HandBuiltTemplate, ChainsIntoOneListInSourceOrder)
{
    std::unique_ptr<MTTIStatement> tree(BuildTemplate());
    EXPECT_EQ(tree->GetChildCount(), 8);
    EXPECT_EQ(S(tree->ToString()),
              "(text \"class \")(${name:})(text \" {\n\")"
              "(if (${name:base} != \"\") (text \"  // extends \")(${name:base})(specialtext \"NL\") )"
              "(if ((Var kind) == \"struct\") (text \"  public:\")(specialtext \"NL\") )((Var version))(text \"};\n\")");
}

TEST(HandBuiltTemplate, EvaluatesAgainstAModel)
{
    struct Case {
        bool withBase;
        const char* kind;
        const char* expected;
        const char* out;
    } cases[] = {
        {true, "struct", "class Shop {\n  // extends Base\n  public:\n1.2};\n", ""},
        {true, "class", "class Shop {\n  // extends Base\n1.2};\n", ""},
        // Without a base the condition's property reads as the empty text
        // after its error line, and the then-part is skipped.
        {false, "struct", "class Shop {\n  public:\n1.2};\n", "ERROR: Property \"${name:base}\" does not exist.\n"},
    };
    std::unique_ptr<MTTIStatement> tree(BuildTemplate());
    for (const Case& c : cases) {
        TestObject root;
        root.Set("name", "Shop");
        if (c.withBase) root.AddObject("base").Set("name", "Base");
        MTTEvaluationEnvironment env(&root);
        env.AddVariable(MTTString("kind"), MTTString(c.kind), MTTVarString);
        env.AddVariable(MTTString("version"), MTTString("1.2"), MTTVarString);
        Outcome r = Eval(tree.get(), &env);
        EXPECT_FALSE(r.null);
        EXPECT_EQ(r.text, c.expected);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
    }
}

TEST(HandBuiltTemplate, LateEvaluatesToSourceText)
{
    std::unique_ptr<MTTIStatement> tree(BuildTemplate());
    TestLateEvaluator late;
    MTTEvaluationEnvironment env(&late);
    env.AddVariable(MTTString("kind"), MTTString("struct"), MTTVarString);
    Outcome r = Late(tree.get(), &env);
    EXPECT_FALSE(r.null);
    EXPECT_EQ(r.text,
              "class prop(/,name) {\n"
              "if (( prop(base,name) != \"\" )) {\n"
              "  // extends prop(base,name)\n"
              "}\n"
              "  public:\n"
              "version};\n");
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(late.calls, std::vector<std::string>({"prop(/,name)", "prop(base,name)", "prop(base,name)"}));
}

}  // namespace
