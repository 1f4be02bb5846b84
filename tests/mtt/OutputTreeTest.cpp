#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIEvaluationOutputVisitor.h"
#include "TestModel.h"
#include "NodeKit.h"

using namespace kit;

namespace {

// A leaf that counts its destructions, to prove single ownership.
struct CountingLeaf : MTTEvaluationOutputLeaf {
    CountingLeaf(const char* iText, int* ioDeleted)
        : MTTEvaluationOutputLeaf(nullptr, nullptr, iText), deleted(ioDeleted)
    {
    }
    ~CountingLeaf() override { ++*deleted; }
    int* deleted;
};

MTTEvaluationOutputLeaf* Leaf(const char* iText)
{
    return new MTTEvaluationOutputLeaf(nullptr, nullptr, iText);
}

MTTEvaluationOutputNode* Node(std::initializer_list<MTTEvaluationOutput*> iChildren = {})
{
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(nullptr, nullptr);
    for (MTTEvaluationOutput* child : iChildren) EXPECT_EQ(node->AddChild(child), node);
    return node;
}

std::string TreeText(const MTTEvaluationOutput& iOutput)
{
    MTTString text;
    EXPECT_EQ(iOutput.toString(text), S_OK);
    return text.ConvertToChar();
}

}  // namespace

TEST(OutputTree, TextIsEveryLeafInDepthFirstOrderAppendedToTheCallersString)
{
    MTTEvaluationOutputNode* inner = Node({Leaf("L"), Node(), Leaf("M")});
    MTTEvaluationOutputNode* root = Node({Leaf("K"), inner, Leaf(""), Leaf("N")});
    EXPECT_EQ(TreeText(*root), "KLMN");
    EXPECT_EQ(TreeText(*inner), "LM");
    MTTString text("pre:");  // never cleared: a second call appends again
    EXPECT_EQ(root->toString(text), S_OK);
    EXPECT_EQ(root->toString(text), S_OK);
    EXPECT_STREQ(text.ConvertToChar(), "pre:KLMNKLMN");
    delete root;

    // A host's own outputs among the library's are asked for their text,
    // whatever they make of it; texts of every length are kept whole.
    struct Shouting : MTTEvaluationOutputLeaf {
        Shouting() : MTTEvaluationOutputLeaf(nullptr, nullptr, "quiet") {}
        long toString(MTTString& ioText) const override
        {
            ioText.Append("LOUD");
            return S_OK;
        }
    };
    struct Bracketing : MTTEvaluationOutputNode {
        Bracketing() : MTTEvaluationOutputNode(nullptr, nullptr) { AddChild(Leaf("in")); }
        long toString(MTTString& ioText) const override
        {
            ioText.Append("[");
            MTTEvaluationOutputNode::toString(ioText);
            ioText.Append("]");
            return S_OK;
        }
    };
    const char* longText = "a leaf text well beyond the sixteen bytes held inside";
    root = Node({Leaf("<"), new Shouting, Node({new Bracketing, Leaf(longText)}), Leaf(">")});
    EXPECT_EQ(TreeText(*root), std::string("<LOUD[in]") + longText + ">");
    delete root;
}

TEST(OutputTree, EmptinessKindsAndZeroBasedChildren)
{
    struct Row {
        MTTEvaluationOutput* output;
        bool empty;
    } rows[] = {{Node(), true},   {Node({Leaf("")}), false}, {Node({Node()}), false}, {Node({nullptr}), false},
                {Leaf(""), true}, {Leaf(" "), false},        {Leaf("\t\n"), false}};
    for (Row& row : rows) {
        bool isLeaf = dynamic_cast<MTTEvaluationOutputLeaf*>(row.output) != nullptr;
        EXPECT_EQ(row.output->IsEmpty(), row.empty) << TreeText(*row.output);
        EXPECT_EQ(row.output->GetMTTEvaluationOutputType(), isLeaf ? MTTOutputLeaf : MTTOutputNode);
        delete row.output;
    }
    EXPECT_TRUE(MTTOutputLeaf == 0 && MTTOutputNode == 1);

    MTTEvaluationOutput* first = Leaf("a");
    MTTEvaluationOutput* last = Leaf("b");
    MTTEvaluationOutputNode node(nullptr, nullptr);
    EXPECT_TRUE(node.GetChildCount() == 0 && node.GetChild(0) == nullptr);
    node.AddChild(first);
    node.AddChild(nullptr);  // accepted and counted
    node.AddChild(last);
    StreamCapture capture;
    EXPECT_EQ(node.GetChildCount(), 3);
    EXPECT_TRUE(node.GetChild(0) == first && node.GetChild(1) == nullptr && node.GetChild(2) == last);
    EXPECT_TRUE(node.GetChild(-1) == nullptr && node.GetChild(3) == nullptr && node.GetChild(1000) == nullptr);
    EXPECT_EQ(capture.Err(), "");  // bounds are not a misuse

    auto nullChild = Quietly([&] { return TreeText(node); });  // the null child is reported and skipped
    EXPECT_EQ(nullChild.value, "ab");
    EXPECT_EQ(nullChild.out, "");
    EXPECT_EQ(nullChild.err, Assertion("NULL != elem"));
}

TEST(OutputTree, LeafTypesAndReferences)
{
    TestObject model;
    MTTEvaluationOutputLeaf leaf(nullptr, &model, "text");
    EXPECT_TRUE(leaf.GetModelObject() == &model && leaf.GetStatement() == nullptr);
    EXPECT_EQ(leaf.GetLeafType(), MTTLeafGeneratedText);
    EXPECT_EQ(MTTLeafGeneratedText, 1);
    for (int type : {5, 0}) {
        leaf.SetLeafType(static_cast<MTTEvaluationOutputLeafType>(type));
        EXPECT_EQ(static_cast<int>(leaf.GetLeafType()), type);
        EXPECT_EQ(TreeText(leaf), "text");
    }
    MTTEvaluationOutputLeaf copy(leaf), assigned(nullptr, nullptr, "other");
    assigned = leaf;
    for (MTTEvaluationOutputLeaf* l : {&copy, &assigned}) {
        EXPECT_TRUE(l->GetLeafType() == MTTLeafUserCode && l->GetModelObject() == &model);
        EXPECT_STREQ(l->GetText().ConvertToChar(), "text");
    }
}

TEST(OutputTree, DeletingTheRootDeletesEveryOutputOnce)
{
    int deleted = 0;
    delete Node({new CountingLeaf("a", &deleted),
                 Node({new CountingLeaf("b", &deleted), nullptr, new CountingLeaf("c", &deleted)}),
                 new CountingLeaf("d", &deleted)});
    EXPECT_EQ(deleted, 4);
}

TEST(OutputTree, ACopiedNodeSharesChildrenWithoutOwningThem)
{
    int deleted = 0;
    MTTEvaluationOutputNode* root = Node({new CountingLeaf("a", &deleted), new CountingLeaf("b", &deleted)});
    {
        MTTEvaluationOutputNode copy(*root);
        EXPECT_TRUE(copy.GetChildCount() == 2 && copy.GetChild(0) == root->GetChild(0));
        copy.AddChild(new CountingLeaf("c", &deleted));  // the copy's own
        EXPECT_EQ(TreeText(copy), "abc");
        EXPECT_EQ(root->GetChildCount(), 2);
    }
    EXPECT_EQ(deleted, 1);
    {
        MTTEvaluationOutputNode target(nullptr, nullptr);
        target.AddChild(new CountingLeaf("old", &deleted));
        target = *root;  // drops its own children first
        EXPECT_EQ(deleted, 2);
        MTTEvaluationOutputNode& same = target;
        target = same;
        EXPECT_EQ(TreeText(target), "ab");
        MTTEvaluationOutputNode copy(*root);
        *root = copy;  // given its own children back: still their owner
        EXPECT_EQ(deleted, 2);
    }
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(TreeText(*root), "ab");
    delete root;
    EXPECT_EQ(deleted, 4);
}

// Accept dispatches to the visitor's operation for its own kind only and
// passes its result on; a null visitor is reported.
TEST(OutputTree, AcceptCallsTheVisitorForItselfOnly)
{
    struct Recorder : MTTIEvaluationOutputVisitor {
        long VisitOutputNode(MTTEvaluationOutputNode* iNode) override
        {
            seen.push_back(iNode);
            return 7;
        }
        long VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf) override
        {
            seen.push_back(iLeaf);
            return -20;
        }
        std::vector<MTTEvaluationOutput*> seen;
    } visitor;
    MTTEvaluationOutputLeaf* leaf = Leaf("x");
    std::unique_ptr<MTTEvaluationOutputNode> node(Node({leaf}));
    EXPECT_EQ(node->Accept(&visitor), 7);
    EXPECT_EQ(leaf->Accept(&visitor), -20);
    EXPECT_EQ(visitor.seen, (std::vector<MTTEvaluationOutput*>{node.get(), leaf}));
    for (MTTEvaluationOutput* output :
         {static_cast<MTTEvaluationOutput*>(node.get()), static_cast<MTTEvaluationOutput*>(leaf)}) {
        auto refused = Quietly([&] { return output->Accept(nullptr); });
        EXPECT_EQ(refused.value, E_FAIL);
        EXPECT_EQ(refused.err, Assertion("visitor"));
    }
}
