// What the golden files cannot show: the nesting limits, the shape of the
// statement lists (a list dumps as nothing), the source map, errors as
// values, recovery from errors anywhere.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "MTTIStatement.h"
#include "MttModel.h"
#include "MttTemplate.h"
#include "StreamCapture.h"
#include "TemplateLoader.h"
#include "TemplateParser.h"

namespace {

// Files from memory; "deepN.mtt" includes "deepN+1.mtt" without end.
class MemoryLoader : public TemplateLoader {
public:
    std::map<std::string, std::string> files;

    Result Load(const std::string& iPath, std::string& oText, std::string&) const override
    {
        if (iPath.compare(0, 4, "deep") == 0) {
            oText = "[% include \"deep" + std::to_string(std::stoi(iPath.substr(4)) + 1) + ".mtt\" %]";
            return Result::kLoaded;
        }
        auto found = files.find(iPath);
        if (found == files.end()) return Result::kMissing;
        oText = found->second;
        return Result::kLoaded;
    }
};

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

    // Each include is a level: a chain of included files ends at the limit.
    MemoryLoader loader;
    ParseOptions options;
    options.loader = &loader;
    TemplateParser parser("t", options);
    EXPECT_EQ(parser.Parse("[% include \"deep1.mtt\" %]"), nullptr);
    EXPECT_EQ(parser.ErrorValues().at(0).message, "nesting deeper than 100 levels");
    EXPECT_EQ(parser.ErrorValues().at(0).where.file, "deep100.mtt");
    EXPECT_EQ(parser.ErrorValues().at(0).includedFrom.size(), 100u);
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
    MTTNode* inner = outer->GetChild(3);                // elif: the If itself, not a list around it
    EXPECT_STREQ(inner->ToString().ConvertToChar(), "(if (Var y) (text \"c\") )");
    EXPECT_EQ(inner->GetChild(3)->GetChildCount(), 0);  // no else: an empty list
    EXPECT_EQ(inner->GetChild(2)->GetChildCount(), 0);  // a one-statement body is that statement: no list

    // Each node knows the directive, property or text that made it; an If
    // and its body list point at their own directive, an elif at the elif.
    const SourceMap& map = parser.Map();
    auto where = [&](MTTNode* iNode) {
        const std::optional<SourceSpan> span = map.Find(iNode);
        return !span ? std::string("none") : map.Where(*span) + " " + map.Excerpt(*span);
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

// Included files and desugared constructs are in the source map; errors
// come as values too, with the includes that led to them.
TEST(TemplateParserShape, IncludedFilesAndErrorValues)
{
    MemoryLoader loader;
    loader.files["lib/a.mtt"] = "A\n[% include \"b.mtt\" %]";
    loader.files["lib/b.mtt"] = "\n [% if x %]";
    ParseOptions options;
    options.loader = &loader;
    TemplateParser parser("dir/t", options);
    const std::string source = "[% foreach xs separator \",\" %]x[% end %][% include \"../lib/a.mtt\" %]";
    std::unique_ptr<MTTIStatement> root(parser.Parse(source));
    ASSERT_EQ(root, nullptr);
    ASSERT_EQ(parser.ErrorValues().size(), 1u);
    const TemplateError& error = parser.ErrorValues()[0];
    EXPECT_EQ(error.where.file + ":" + std::to_string(error.where.line) + ":" + std::to_string(error.where.column),
              "lib/b.mtt:2:12");
    ASSERT_EQ(error.includedFrom.size(), 2u);
    EXPECT_EQ(error.includedFrom[0].file + ":" + std::to_string(error.includedFrom[0].line), "lib/a.mtt:2");
    EXPECT_EQ(error.includedFrom[1].file + ":" + std::to_string(error.includedFrom[1].column), "dir/t:41");
    EXPECT_EQ(parser.Errors(), error.ToString());

    loader.files["lib/b.mtt"] = "${name}";
    root.reset(parser.Parse(source));
    ASSERT_NE(root, nullptr) << parser.Errors();
    // Places are found on the first question, from the texts the parse read,
    // not from the files as they are by then.
    loader.files["lib/b.mtt"] = "[% if";
    const SourceMap& map = parser.Map();
    auto where = [&](MTTNode* iNode) { return map.Where(*map.Find(iNode)) + " " + map.Excerpt(*map.Find(iNode)); };
    MTTNode* loop = root->GetChild(1);
    MTTNode* separator = loop->GetChild(2)->GetChild(2);  // the If after the body's text
    EXPECT_EQ(where(separator), "dir/t:1:1 [% foreach xs separator \",\" %]");
    EXPECT_EQ(where(separator->GetChild(2)), "dir/t:1:1 [% foreach xs separator \",\" %]");
    MTTNode* included = root->GetChild(2);  // a's list, then b's list inside it
    EXPECT_EQ(where(included), "dir/t:1:41 [% include \"../lib/a.mtt\" %]");
    EXPECT_EQ(where(included->GetChild(2)->GetChild(1)), "lib/b.mtt:1:1 ${name}");
}

// Places found on demand are those a parse records as it goes, for every
// node of a template that uses each kind of construct.
TEST(TemplateParserShape, PlacesOnDemandAreThoseRecordedWhileParsing)
{
    MemoryLoader loader;
    loader.files["inc.mtt"] = "[% function g(x) %]<${x}>[% end %]";
    loader.files["part.mtt"] = "[% call g(${name}) %]\n";
    const std::string source =
        "[% import \"inc.mtt\" %][% int n %][% string s %]\n"
        "[% foreach /classes separator \",\" %]\n  [% if defined ${:x} && (a == \"1\" || !b) %]${name|snake}"
        "[% elif c %][% s += ${name:/x/y} %][% else %][% n |= 4 %][% end %]\n[% usercode %][%- SPC -%]"
        "[% include \"part.mtt\" %][%= s %]\n[% end %]";
    ParseOptions options;
    options.loader = &loader;
    TemplateParser onDemand("t", options);
    std::unique_ptr<MTTIStatement> tree(onDemand.Parse(source));
    options.recordPositions = true;
    TemplateParser recording("t", options);
    std::unique_ptr<MTTIStatement> twin(recording.Parse(source));
    ASSERT_NE(tree, nullptr) << onDemand.Errors();
    ASSERT_NE(twin, nullptr);
    auto where = [](const SourceMap& iMap, MTTNode* iNode) {
        const std::optional<SourceSpan> span = iMap.Find(iNode);
        return span ? iMap.Where(*span) + " " + iMap.Excerpt(*span) : std::string("none");
    };
    int nodes = 0;
    std::vector<std::pair<MTTNode*, MTTNode*>> pending{{tree.get(), twin.get()}};
    while (!pending.empty()) {
        auto [node, same] = pending.back();
        pending.pop_back();
        ASSERT_EQ(node->GetChildCount(), same->GetChildCount());
        EXPECT_EQ(where(onDemand.Map(), node), where(recording.Map(), same)) << node->ToString().ConvertToChar();
        EXPECT_NE(where(onDemand.Map(), node), "none");
        ++nodes;
        for (int i = 1; i <= node->GetChildCount(); ++i) pending.emplace_back(node->GetChild(i), same->GetChild(i));
    }
    EXPECT_GT(nodes, 40);
}

TEST(TemplateParserErrors, NamesAndReset)
{
    EXPECT_EQ(ErrorOf(std::string("a\n b\0c", 6)), "t:2:3: error: unexpected NUL byte\n");
    TemplateParser parser("t");
    EXPECT_EQ(parser.Parse("[% end %]"), nullptr);
    std::unique_ptr<MTTIStatement> root(parser.Parse("ok"));
    EXPECT_NE(root, nullptr);
    EXPECT_EQ(parser.Errors(), "");
    EXPECT_TRUE(parser.ErrorValues().empty());

    ParseOptions late;
    late.late = true;  // without the generated language's syntax
    EXPECT_EQ(TemplateParser("t", late).Parse("x"), nullptr);
    TemplateParser missing("/nonexistent/t.mtt");
    EXPECT_EQ(missing.ParseFile(), nullptr);
    EXPECT_EQ(missing.Errors(), "/nonexistent/t.mtt: error: cannot read the template: no such file\n");
}

// Cutting a template anywhere gives either a tree or one error line, never
// a crash or a leak (the sanitizer build checks the latter), and the parser
// prints nothing itself.
TEST(TemplateParserErrors, EveryPrefixParsesOrFailsCleanly)
{
    const std::string full =
        "[%# header %]\n[% function f(a, b) %]\n[%= a %]-[%= \"s\\\"%]\" %]\n[% end %]\n"
        "[% int n %][% string s %][% s += ${name:/x/y} %][% n |= 4 %]\n"
        "[% foreach /classes separator \",\" %]\n  [% if defined ${:x} && (a == \"1\" || !b) %]${name}[% elif c %]\\[%"
        "[% else %][% call f(${a}, \"z\") %][% end %]\n[% usercode %][%- SPC -%][% special NL %]\n[% end %]\n"
        "${\"a b\"|snake|upper:../\"c:}\"/0}[% if ${@last} == true %]x[% end %]";
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

// One parsed template rendered by many threads at once: every message
// points at the same line (the positions are worked out once).
TEST(TemplateParserShape, ThreadsRenderingOneTemplateAgreeOnPositions)
{
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "line " + std::to_string(i) + "\n";
    text += "[% foreach missing %]x[% end %]\n";
    std::vector<TemplateError> errors;
    std::unique_ptr<mtt::Template> page = mtt::Template::FromString(text, "big.mtt", errors);
    ASSERT_TRUE(page);
    std::string error;
    std::unique_ptr<mtt::Model> model = mtt::Model::FromText("{}", "m.json", error);
    ASSERT_TRUE(model);
    StreamCapture quiet;
    std::vector<int> lines(16, 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < lines.size(); ++t) {
        threads.emplace_back([&, t] {
            const mtt::RenderResult result = page->Render(*model);
            lines[t] = result.messages.empty() ? 0 : result.messages.front().line;
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (const int line : lines) EXPECT_EQ(3001, line);
}
