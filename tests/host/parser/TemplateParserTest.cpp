// What the golden files cannot show: the nesting limits, the shape of the
// statement lists (a list dumps as nothing), recovery from errors anywhere.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MTTIStatement.h"
#include "StreamCapture.h"
#include "TemplateParser.h"

namespace {

std::string Repeat(const std::string& iText, int iCount)
{
    std::string result;
    for (int i = 0; i < iCount; ++i) result += iText;
    return result;
}

// The error text, or "" when the parse succeeds.
std::string ErrorOf(const std::string& iSource, const std::string& iName = "t")
{
    TemplateParser parser(iName);
    std::unique_ptr<MTTIStatement> root(parser.Parse(iSource));
    EXPECT_EQ(root == nullptr, !parser.Errors().empty()) << iSource.substr(0, 80);
    return parser.Errors();
}

TEST(TemplateParserLimits, NestingStopsAtOneHundredLevels)
{
    struct Case {
        std::string source;
        std::string error;
    } cases[] = {
        {Repeat("[%if a%]", 100) + Repeat("[%end%]", 100), ""},
        {Repeat("[%if a%]", 101) + Repeat("[%end%]", 101), "t:1:801: error: nesting deeper than 100 levels\n"},
        {Repeat("[%foreach a%]", 60) + Repeat("[%function f()%]", 41) + Repeat("[%end%]", 101),
         "t:1:1421: error: nesting deeper than 100 levels\n"},
        // each elif nests an If in the else part
        {"[%if a%]" + Repeat("[%elif a%]", 99) + "[%end%]", ""},
        {"[%if a%]" + Repeat("[%elif a%]", 100) + "[%end%]", "t:1:999: error: nesting deeper than 100 levels\n"},
        // expressions: parentheses, unary chains and operator chains
        {"[%=" + Repeat("(", 100) + "a" + Repeat(")", 100) + "%]", ""},
        {"[%=" + Repeat("(", 100000) + "a%]", "t:1:104: error: nesting deeper than 100 levels\n"},
        {"[%if " + Repeat("!", 100000) + "a%][%end%]", "t:1:106: error: nesting deeper than 100 levels\n"},
        {"[%if " + Repeat("defined ", 100000) + "a%][%end%]", "t:1:806: error: nesting deeper than 100 levels\n"},
        {"[%if a" + Repeat("||a", 99) + "%][%end%]", ""},
        {"[%if a" + Repeat("&&a", 100) + "%][%end%]", "t:1:304: error: nesting deeper than 100 levels\n"},
        {Repeat("[%if a%]", 100000), "t:1:801: error: nesting deeper than 100 levels\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.source), c.error) << c.source.substr(0, 60);
}

TEST(TemplateParserShape, SequencesAreListsInSourceOrder)
{
    TemplateParser parser("t");
    std::unique_ptr<MTTIStatement> root(parser.Parse("a[% if x %]b[% SPC %][% elif y %]c[% end %]d"));
    ASSERT_NE(root, nullptr) << parser.Errors();
    ASSERT_EQ(root->GetChildCount(), 3);
    EXPECT_STREQ(root->GetChild(1)->ToString().ConvertToChar(), "(text \"a\")");
    EXPECT_STREQ(root->GetChild(3)->ToString().ConvertToChar(), "(text \"d\")");
    MTTNode* outer = root->GetChild(2);
    ASSERT_EQ(outer->GetChildCount(), 3);
    EXPECT_EQ(outer->GetChild(2)->GetChildCount(), 2);  // then: one list of two statements
    MTTNode* inner = outer->GetChild(3);                  // elif: the If itself, not a list around it
    EXPECT_STREQ(inner->ToString().ConvertToChar(), "(if (Var y) (text \"c\") )");
    EXPECT_EQ(inner->GetChild(3)->GetChildCount(), 0);  // no else: an empty list
    EXPECT_EQ(inner->GetChild(2)->GetChildCount(), 1);  // a one-statement body is still a list

    // Each node knows the directive, property or text that made it; an If
    // and its body list point at their own directive, an elif at the elif.
    const SourceMap& map = parser.Map();
    auto where = [&](MTTNode* iNode) {
        const SourceSpan* span = map.Find(iNode);
        return span == nullptr ? std::string("none") : map.Where(*span) + " " + map.Excerpt(*span);
    };
    EXPECT_EQ(where(root->GetChild(1)), "t:1:1 a");
    EXPECT_EQ(where(outer), "t:1:2 [% if x %]");
    EXPECT_EQ(where(outer->GetChild(1)), "t:1:2 [% if x %]");
    EXPECT_EQ(where(outer->GetChild(2)->GetChild(2)), "t:1:13 [% SPC %]");
    EXPECT_EQ(where(inner), "t:1:22 [% elif y %]");

    std::unique_ptr<MTTIStatement> empty(parser.Parse(""));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetChildCount(), 0);
}

TEST(TemplateParserErrors, NamesAndReset)
{
    EXPECT_EQ(ErrorOf("[% x", "-"), "<stdin>:1:5: error: expected '%]' to close the directive opened at 1:1\n");
    EXPECT_EQ(ErrorOf(std::string("a\n b\0c", 6)), "t:2:3: error: unexpected NUL byte\n");
    TemplateParser parser("t");
    EXPECT_EQ(parser.Parse("[% end %]"), nullptr);
    std::unique_ptr<MTTIStatement> root(parser.Parse("ok"));
    EXPECT_NE(root, nullptr);
    EXPECT_EQ(parser.Errors(), "");
}

// Cutting a template anywhere gives either a tree or one error line, never
// a crash or a leak (the sanitizer build checks the latter), and the parser
// prints nothing itself.
TEST(TemplateParserErrors, EveryPrefixParsesOrFailsCleanly)
{
    const std::string full =
        "[%# header %]\n[% function f(a, b) %]\n[%= a %]-[%= \"s\\\"%]\" %]\n[% end %]\n"
        "[% int n %][% string s %][% s += ${name:/x/y} %][% n |= 4 %]\n"
        "[% foreach /classes %]\n  [% if defined ${:x} && (a == \"1\" || !b) %]${name}[% elif c %]\\[%"
        "[% else %][% call f(${a}, \"z\") %][% end %]\n[% usercode %][%- SPC -%][% special NL %]\n[% end %]\n";
    StreamCapture capture;
    int trees = 0;
    for (size_t length = 0; length <= full.size(); ++length) {
        TemplateParser parser("t");
        std::unique_ptr<MTTIStatement> root(parser.Parse(full.substr(0, length)));
        if (root) {
            ++trees;
            EXPECT_EQ(parser.Errors(), "");
        } else {
            EXPECT_EQ(parser.Errors().compare(0, 2, "t:"), 0);
            EXPECT_EQ(parser.Errors().find('\n'), parser.Errors().size() - 1);
        }
    }
    capture.Stop();
    EXPECT_EQ(capture.Out() + capture.Err(), "");
    EXPECT_GT(trees, 1);
}

}  // namespace
