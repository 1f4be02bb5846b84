// MTTEvaluateText against Evaluate + toString where hand-built trees reach
// what parsed templates do not: statements of a host's own kind (their
// output's text is taken), missing parts, a missing environment, calls and
// runaway recursion, failures deep inside loops (the text is put back as
// it was).

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>

#include "MTTEvaluateText.h"
#include "NodeKit.h"
#include "TestModel.h"

using namespace kit;

namespace {

struct PathCase {
    const char* label;
    std::function<MTTIStatement*()> make;
    bool fails;
};

MTTIStatement* Loop(MTTIStatement* iBody)
{
    return Foreach(Prop("", "items"), iBody);
}

const PathCase kCases[] = {
    {"host statements",
     [] {
         return List({Text("<"), new Probe("host"), Loop(new Probe("e")), Text(">")});
     },
     false},
    {"failing host statement",
     [] {
         return List({Text("<"), Loop(List({Text("x"), new Probe("", true)}))});
     },
     true},
    {"missing chosen part",
     [] {
         return List({Text("a"), If(Str("true"), nullptr, Text("e"))});
     },
     true},
    {"missing expression",
     [] {
         return List({Text("a"), Loop(List({Expr(Prop("n", "")), Expr(nullptr)}))});
     },
     true},
    {"missing other part",
     [] {
         return List({Text("a"), If(Str("true"), Text("t"), nullptr)});
     },
     false},
    {"failure in the second element",
     [] {
         return List({Text("["), Loop(List({Expr(Prop("n", "")), Special("X")}))});
     },
     true},
    {"calls",
     [] {
         return List({Function("f", {"p"}, List({Text("("), Expr(Var("p")), Text(")")})), Call("f", {Str("1")}),
                      Call("g", {Str("2")})});
     },
     true},
    {"calls in a loop",
     [] {
         return List({Function("f", {"p"}, Expr(Var("p"))), Loop(Call("f", {Prop("n", "")}))});
     },
     false},
    // Refused at the same call: blocks between the calls count the same.
    {"runaway recursion",
     [] {
         return List({Function("f", {"p"}, List({Text("."), If(Var("p"), Call("f", {Var("p")}), Text(""))})),
                      Call("f", {Str("1")})});
     },
     true},
};

void PrintTo(const PathCase& iCase, std::ostream* oStream)
{
    *oStream << iCase.label;
}

class TextPath : public ::testing::TestWithParam<PathCase> {};

Outcome ByText(MTTIStatement* iRoot, MTTEvaluationEnvironment* iEnvironment)
{
    Outcome run;
    StreamCapture capture;
    MTTString text("kept>");
    run.null = MTTEvaluateText(iRoot, iEnvironment, text) != S_OK;
    capture.Stop();
    run.out = capture.Out();
    run.err = Norm(capture.Err());
    std::string all = text.ConvertToChar();
    EXPECT_EQ(all.substr(0, 5), "kept>");
    run.text = all.substr(5);
    return run;
}

}  // namespace

TEST_P(TextPath, GivesWhatTheTreeGives)
{
    TestObject root;
    TestObject& items = root.AddList("items");
    for (const char* name : {"a", "b"}) items.AddElement().Set("n", name);
    std::unique_ptr<MTTIStatement> tree(GetParam().make());
    MTTEvaluationEnvironment forTree(&root), forText(&root);
    Outcome viaTree = Eval(tree.get(), &forTree);
    Outcome viaText = ByText(tree.get(), &forText);
    EXPECT_EQ(viaTree.null, GetParam().fails);
    EXPECT_EQ(viaText.null, viaTree.null);
    EXPECT_EQ(viaText.text, viaTree.null ? "" : viaTree.text);
    EXPECT_EQ(viaText.out, viaTree.out);
    EXPECT_EQ(viaText.err, viaTree.err);
    // Without an environment or a root, nothing is appended either.
    Outcome noEnvironment = ByText(tree.get(), nullptr);
    EXPECT_TRUE(noEnvironment.null && noEnvironment.text.empty() && !noEnvironment.err.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, TextPath, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PathCase>& iInfo) {
                             std::string name = iInfo.param.label;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(TextPathRoot, ANullRootIsReportedAndChangesNothing)
{
    MTTString text("kept");
    auto run = Quietly([&] { return MTTEvaluateText(nullptr, nullptr, text); });
    EXPECT_EQ(run.value, E_FAIL);
    EXPECT_EQ(run.err, Assertion("NULL != iRoot"));
    EXPECT_EQ(S(text), "kept");
}
