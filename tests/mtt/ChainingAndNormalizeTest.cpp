// Whole-tree operations a parser uses: chaining statements with Append and
// emptying blank texts with Normalize.

#include <gtest/gtest.h>

#include <memory>

#include "MTTExpNot.h"
#include "MTTStatExpression.h"
#include "MTTStatIf.h"
#include "MTTStatSpecialText.h"
#include "MTTStatText.h"
#include "NodeKit.h"
#include "TestModel.h"

using namespace kit;

namespace {

std::string TextIn(MTTNode* iNode)
{
    return S(static_cast<MTTStatText*>(iNode)->GetText());
}

TEST(StatementChaining, PlainStatementsMakeNewListsAndListsGrow)
{
    MTTIStatement* a = Text("a");
    MTTIStatement* b = Text("b");
    MTTIStatement* c = Text("c");
    std::unique_ptr<MTTIStatement> list(a->Append(b));
    ASSERT_NE(list.get(), a);
    ASSERT_NE(list.get(), b);
    ASSERT_EQ(list->GetChildCount(), 2);
    EXPECT_EQ(list->GetChild(1), a);
    EXPECT_EQ(list->GetChild(2), b);
    EXPECT_EQ(list->Append(c), list.get());
    EXPECT_EQ(list->Append(nullptr), list.get());
    ASSERT_EQ(list->GetChildCount(), 3);
    EXPECT_EQ(list->GetChild(3), c);

    // A list chained onto a plain statement is nested, not flattened.
    MTTIStatement* x = Text("x");
    std::unique_ptr<MTTIStatement> outer(x->Append(list.get()));
    MTTIStatement* inner = list.release();
    ASSERT_EQ(outer->GetChildCount(), 2);
    EXPECT_EQ(outer->GetChild(1), x);
    EXPECT_EQ(outer->GetChild(2), inner);

    TestObject root;
    MTTEvaluationEnvironment env(&root);
    EXPECT_EQ(Eval(outer.get(), &env).text, "xabc");
}

TEST(StatementChaining, NullNextGivesANewEmptyListWithoutTheReceiver)
{
    std::unique_ptr<MTTIStatement> a(Text("a"));
    std::unique_ptr<MTTIStatement> list(a->Append(nullptr));
    ASSERT_NE(list, nullptr);
    EXPECT_NE(list.get(), a.get());
    EXPECT_EQ(list->GetChildCount(), 0);
}

// Whitespace is exactly blank, tab, line feed and carriage return.
TEST(NormalizeTexts, EmptiesOnlyTextsMadeOfTheFourWhitespaceBytes)
{
    struct Case {
        const char* text;
        const char* after;
    } cases[] = {
        {"\r\n\t ", ""},          {"", ""},           {"  \n  ", ""},
        {" a ", " a "},           {"\x0b", "\x0b"},   {" \x0c ", " \x0c "},
        {"\t\x7f", "\t\x7f"},     {" \x80", " \x80"}, {"\xc2\xa0", "\xc2\xa0"},
        {"\n\xff\n", "\n\xff\n"},
    };
    for (const Case& c : cases) {
        MTTStatText text{MTTString(c.text)};
        EXPECT_EQ(text.Normalize(), S_OK);
        EXPECT_EQ(S(text.GetText()), c.after);
    }
}

TEST(NormalizeTexts, WalksTheWholeTreeAndKeepsItsShape)
{
    std::unique_ptr<MTTIStatement> tree(
        List({Text(" "), new MTTStatIf(Var("c"), List({Text("\t"), Text("x")}), List({Text("\n")})),
              new MTTStatExpression(Str(" ")), new MTTStatSpecialText(MTTString(" "))}));
    EXPECT_EQ(tree->Normalize(), S_OK);
    EXPECT_EQ(S(tree->ToString()),
              "(text \"\")(if (Var c) (text \"\")(text \"x\") (text \"\"))(\" \")(specialtext \" \")");
}

// A null child within the child count stops the walk with E_FAIL: the
// nodes before it are normalised, the ones after it are not visited.
TEST(NormalizeTexts, NullChildFailsAndStopsTheWalk)
{
    MTTIStatement* before = Text(" ");
    MTTIStatement* thenPart = Text("\n");
    MTTIStatement* after = Text(" ");
    std::unique_ptr<MTTIStatement> tree(
        List({before, new MTTStatIf(new MTTExpNot(Var("c")), thenPart, nullptr), after}));
    EXPECT_EQ(tree->Normalize(), E_FAIL);
    EXPECT_EQ(TextIn(before), "");
    EXPECT_EQ(TextIn(thenPart), "");
    EXPECT_EQ(TextIn(after), " ");

    MTTStatExpression empty(nullptr);
    StreamCapture capture;
    EXPECT_EQ(empty.Normalize(), E_FAIL);
    EXPECT_EQ(capture.Out() + capture.Err(), "");
}

}  // namespace
