// MTTEvaluateText against Evaluate + toString where hand-built trees reach
// what parsed templates do not: statements of a host's own kind (their
// output's text is taken), missing parts, a missing environment, calls and
// runaway recursion, failures deep inside loops (the text is put back as
// it was); and the tree it would have built, as a listener hears it.

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "MTTEvaluateText.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIOutputListener.h"
#include "MTTITextPieceListener.h"
#include "NodeKit.h"
#include "TestModel.h"

using namespace kit;

// Outside the anonymous namespace: the fixture's base names it, and the
// fixture has external linkage.
struct PathCase {
    const char* label;
    std::function<MTTIStatement*()> make;
    bool fails;
};

void PrintTo(const PathCase& iCase, std::ostream* oStream)
{
    *oStream << iCase.label;
}

class TextPath : public ::testing::TestWithParam<PathCase> {};

namespace {

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
    {"variables and both branches",
     [] {
         return List({Declare("v", MTTVarString), Declare("w", MTTVarString), Assign("v", Str("x")),
                      AppendTo("v", Str("y")), OrEquals("w", Str("z")),
                      Loop(If(Eq(Prop("n", ""), Str("a")), Expr(Var("v")), List({Text("-"), Expr(Var("w"))})))});
     },
     false},
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

// A tree written as text: "(statement object children)" for a node,
// "[statement object type 'text']" for a leaf; for a tree and for what a
// listener heard of it.
std::string Id(const void* iPointer)
{
    return std::to_string(reinterpret_cast<uintptr_t>(iPointer));
}

std::string LeafShape(const void* iStatement, const void* iObject, int iType, const std::string& iText)
{
    return "[" + Id(iStatement) + " " + Id(iObject) + " " + std::to_string(iType) + " '" + iText + "']";
}

std::string ShapeOf(MTTEvaluationOutput* iOutput)
{
    if (iOutput == nullptr) return "null";
    if (auto* node = dynamic_cast<MTTEvaluationOutputNode*>(iOutput)) {
        std::string shape = "(" + Id(node->GetStatement()) + " " + Id(node->GetModelObject());
        for (int i = 0; i < node->GetChildCount(); ++i) shape += " " + ShapeOf(node->GetChild(i));
        return shape + ")";
    }
    auto* leaf = static_cast<MTTEvaluationOutputLeaf*>(iOutput);
    return LeafShape(leaf->GetStatement(), leaf->GetModelObject(), leaf->GetLeafType(), S(leaf->Text()));
}

struct ShapeListener final : MTTIOutputListener {
    explicit ShapeListener(const MTTString& iText) : text(iText) {}
    void OnNodeOpen(MTTIStatement* iStatement, MTLIModelObject* iObject) override
    {
        shape += (depth > 0 ? " (" : "(") + Id(iStatement) + " " + Id(iObject);
        ++depth;
    }
    void OnLeaf(MTTIStatement* iStatement, MTLIModelObject* iObject, MTTEvaluationOutputLeafType iType, size_t iBegin,
                size_t iEnd) override
    {
        EXPECT_EQ(iBegin, end) << "leaves follow each other";
        ASSERT_LE(iBegin, iEnd);
        end = iEnd;
        shape += (depth > 0 ? " " : "") + LeafShape(iStatement, iObject, iType, S(text).substr(iBegin, iEnd - iBegin));
    }
    void OnNodeClose() override
    {
        ASSERT_GT(depth, 0);
        --depth;
        shape += ")";
    }
    const MTTString& text;
    std::string shape;
    int depth = 0;
    size_t end = 0;
};

// What a listener heard of iRoot's tree, with the text; iEnvironment as
// the tree path found it.
std::string HeardShape(MTTIStatement* iRoot, MTTEvaluationEnvironment* iEnvironment, std::string& oText)
{
    MTTString text;
    ShapeListener listener(text);
    StreamCapture capture;
    const long result = MTTEvaluateText(iRoot, iEnvironment, text, nullptr, &listener);
    capture.Stop();
    oText = S(text);
    EXPECT_EQ(listener.depth, 0);
    EXPECT_EQ(listener.end, text.Length());
    return result == S_OK ? listener.shape : "null";
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
    // A listener hears the tree the tree path built.
    if (!viaTree.null) {
        MTTEvaluationEnvironment forListener(&root);
        std::string text;
        EXPECT_EQ(HeardShape(tree.get(), &forListener, text), ShapeOf(viaTree.output.get()));
        EXPECT_EQ(text, viaTree.text);
    }
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

namespace {

// A host's own statement whose output is its child's, tree and all.
class Wrapper : public MTTIStatement {
public:
    explicit Wrapper(MTTIStatement* iChild) : _child(iChild) {}
    long Accept(MTTINodeVisitor*) override { return S_OK; }
    int GetChildCount() override { return 0; }
    MTTNode* GetChild(int) override { return nullptr; }
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override
    {
        return _child->Evaluate(iEnvironment);
    }
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override
    {
        return _child->LateEvaluate(iEnvironment);
    }

private:
    std::unique_ptr<MTTIStatement> _child;
};

using Heard = std::vector<std::tuple<const void*, const void*, int, size_t, size_t>>;

struct Listener final : MTTITextPieceListener {
    Heard heard;
    void OnUserCodePiece(const MTTTextPiece& iPiece) override
    {
        heard.emplace_back(iPiece.statement, iPiece.object, iPiece.type, iPiece.begin, iPiece.end);
    }
};

// The leaves of iStatements in a tree, with their places in its text.
void Leaves(MTTEvaluationOutput* iOutput, const std::vector<MTTIStatement*>& iStatements, size_t& ioAt, Heard& oLeaves)
{
    if (iOutput == nullptr) return;
    if (auto* node = dynamic_cast<MTTEvaluationOutputNode*>(iOutput)) {
        for (int i = 0; i < node->GetChildCount(); ++i) Leaves(node->GetChild(i), iStatements, ioAt, oLeaves);
        return;
    }
    auto* leaf = static_cast<MTTEvaluationOutputLeaf*>(iOutput);
    const size_t begin = ioAt;
    ioAt += leaf->Text().Length();
    for (MTTIStatement* statement : iStatements) {
        if (leaf->GetStatement() == statement) {
            oLeaves.emplace_back(statement, leaf->GetModelObject(), leaf->GetLeafType(), begin, ioAt);
        }
    }
}

}  // namespace

TEST(TextPathUserCode, PiecesAreHeardWhereTheTreeHasTheLeaves)
{
    for (const int count : {1, 3, 2000}) {
        TestObject root;
        TestObject& items = root.AddList("items");
        for (int i = 0; i < count; ++i) items.AddElement().AddScalar("UserCode", i % 2 ? "" : "kept();\n");
        // Directly and inside a host's own statement, after a text.
        MTTIStatement* inLoop = Usercode(Prop("", ""));
        MTTIStatement* inHost = Usercode(Prop("", ""));
        std::unique_ptr<MTTIStatement> tree(
            List({Text("<"), Loop(List({Text("["), inLoop, Text("]")})), new Wrapper(Loop(inHost)), Text(">")}));
        MTTEvaluationEnvironment forTree(&root), forText(&root);
        Outcome viaTree = Eval(tree.get(), &forTree);
        ASSERT_FALSE(viaTree.null);
        Heard leaves;
        size_t at = 5;  // after the text kept before
        Leaves(viaTree.output.get(), {inLoop, inHost}, at, leaves);
        ASSERT_EQ(6u * count, leaves.size());

        Listener listener;
        MTTString text("kept>");
        ASSERT_EQ(S_OK, MTTEvaluateText(tree.get(), &forText, text, &listener));
        EXPECT_EQ("kept>" + viaTree.text, S(text));
        EXPECT_EQ(leaves, listener.heard) << count;

        MTTEvaluationEnvironment forShape(&root);
        std::string heardText;
        EXPECT_EQ(HeardShape(tree.get(), &forShape, heardText), ShapeOf(viaTree.output.get())) << count;
        EXPECT_EQ(heardText, viaTree.text);
    }
    // A failure cuts the text back: what was heard is void.
    TestObject root;
    root.AddList("items").AddElement();  // no UserCode
    std::unique_ptr<MTTIStatement> failing(List({Text("a"), Loop(Usercode(Prop("", "")))}));
    MTTEvaluationEnvironment environment(&root);
    Listener listener;
    MTTString text("kept");
    EXPECT_EQ(E_FAIL, Quietly([&] { return MTTEvaluateText(failing.get(), &environment, text, &listener); }).value);
    EXPECT_EQ("kept", S(text));
}
