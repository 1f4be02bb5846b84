// A render's user-code sections and text are the same whether they are
// found in the output tree's leaves, in the tree's shape heard as the text
// was written without it, or in that text with the places of its usercode
// directives' pieces.
#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <string>
#include <vector>

#include "CommentSyntax.h"
#include "GeneratedText.h"
#include "MTTEvaluationOutputNode.h"
#include "MttModel.h"
#include "MttOutputShape.h"
#include "MttTemplate.h"
#include "UserCodeKeys.h"

namespace {

// What a walk of a shape tells, event by event in depth-first order: a
// node (its parent and place there) or a leaf (the node above it).
struct Met {
    bool node;
    int32_t parent;
    int32_t index;
    bool operator==(const Met& iOther) const
    {
        return node == iOther.node && parent == iOther.parent && index == iOther.index;
    }
};

std::vector<Met> Walked(const mtt::OutputShape& iShape)
{
    std::vector<Met> met;
    iShape.Walk(
        [&](size_t, int32_t iParent, int32_t iIndex) {
            met.push_back(Met{true, iParent, iIndex});
        },
        [&](size_t, int32_t iNode) {
            met.push_back(Met{false, iNode, 0});
        });
    return met;
}

// The same read off the tree itself: what the shape's order and counts
// must give back.
void Flatten(MTTEvaluationOutput* iOutput, int32_t iParent, int32_t iIndex, int32_t& ioNodes, std::vector<Met>& oMet)
{
    auto* node = dynamic_cast<MTTEvaluationOutputNode*>(iOutput);
    if (node == nullptr) {
        oMet.push_back(Met{false, iParent, 0});
        return;
    }
    oMet.push_back(Met{true, iParent, iIndex});
    const int32_t self = ioNodes++;
    int32_t index = 0;
    for (int i = 0; i < node->GetChildCount(); ++i) {
        if (MTTEvaluationOutput* child = node->GetChild(i)) Flatten(child, self, index++, ioNodes, oMet);
    }
}

// A shape numbers each statement once, whatever their count (past what
// two bytes hold too), and again after a whole tree, when it lets go of the
// table that numbers them; each leaf keeps its end, type and object, which
// leaves share in runs of one and of several.
TEST(OutputShapeTest, EachLeafKeepsItsStatementAndObjectAcrossTrees)
{
    for (const size_t count : {size_t(1), size_t(9), size_t(3000), size_t(40000)}) {
        std::vector<std::aligned_storage_t<64, 16>> storage(count);
        const auto statement = [&](size_t i) { return reinterpret_cast<MTTIStatement*>(&storage[i % count]); };
        // The first tree's leaves have an object each, the second's one in three.
        const auto object = [&](size_t i) {
            return reinterpret_cast<MTLIModelObject*>(&storage[i < count ? i : (i - count) / 3]);
        };
        const auto type = [](size_t i) { return i % 5 == 2 ? MTTLeafUserCode : MTTLeafGeneratedText; };
        mtt::OutputShape shape;
        for (size_t tree = 0; tree < 2; ++tree) {
            shape.OnNodeOpen(statement(0), nullptr);
            for (size_t i = 0; i < count; ++i) {
                const size_t leaf = tree * count + i;
                shape.OnLeaf(statement(tree == 0 ? i : count - 1 - i), object(leaf), type(leaf), leaf, leaf + 1);
            }
            shape.OnNodeClose();
        }
        ASSERT_EQ(2 * count, shape.LeafCount());
        EXPECT_EQ(count, shape.StatementCount());
        for (size_t i = 0; i < count; ++i) {
            const mtt::OutputShape::Leaf first = shape.LeafAt(i), second = shape.LeafAt(2 * count - 1 - i);
            ASSERT_EQ(statement(i), shape.StatementOf(first)) << count << " " << i;
            ASSERT_EQ(first.Statement(), second.Statement()) << count << " " << i;
        }
        // Asked for at random, and in order from where the last was found;
        // then back to the first.
        size_t run = 0;
        for (size_t i = 0; i < 2 * count; ++i) {
            const mtt::OutputShape::Leaf leaf = shape.LeafAt(i);
            ASSERT_TRUE(leaf.object == object(i) && leaf.end == i + 1 && leaf.Type() == type(i) &&
                        shape.LeafType(i) == type(i) && shape.Begin(i) == i && shape.LeafAt(i, run).object == object(i))
                << count << " " << i;
        }
        EXPECT_EQ(object(0), shape.LeafObject(0, run));
    }
}

// The sections and composed texts of both ways, section by section; for
// lists of 1, 3 and 2,000 classes. iCount: the sections per class.
void ExpectBothWaysAlike(const std::string& iTemplate, size_t iCount)
{
    SCOPED_TRACE(iTemplate);
    std::vector<TemplateError> errors;
    const std::unique_ptr<mtt::Template> parsed = mtt::Template::FromString(iTemplate, "t.mtt", errors);
    ASSERT_TRUE(parsed) << (errors.empty() ? "" : errors.front().message);
    const GeneratedText::SectionNamer namer = [&](const MTTIStatement* iStatement) {
        return parsed->UserCodeName(iStatement);
    };
    const UserCodeKeys keys("id,name");
    const CommentSyntax syntax = CommentSyntax::ForFile("out.h");
    for (const int count : {1, 3, 2000}) {
        std::string json = "{\"classes\": [";
        for (int i = 0; i < count; ++i) {
            json += (i ? "," : "") + std::string("{\"name\": \"C") + std::to_string(i) + "\"" +
                    (i % 3 == 0 ? ", \"UserCode\": \"from the model\\n\"" : "") +
                    ", \"parts\": [{\"name\": \"a\"}, {\"name\": \"b\", \"UserCode\": \"b's\"}]}";
        }
        std::string error;
        const std::unique_ptr<mtt::Model> model = mtt::Model::FromText(json + "]}", "m.json", error);
        ASSERT_TRUE(model) << error;
        mtt::RenderOptions options;
        options.printMessages = false;
        options.keepOutput = true;
        mtt::RenderResult viaTree = parsed->Render(*model, options);
        ASSERT_TRUE(viaTree.ok);
        std::string treeText;
        mtt::OutputShape treeShape = mtt::OutputShape::Of(viaTree.output.get(), treeText);
        EXPECT_EQ(viaTree.text, treeText);
        GeneratedText fromLeaves(MTTString(treeText.data(), treeText.size()), std::move(treeShape), keys, namer,
                                 syntax);
        options.keepOutput = false;
        options.shape = true;
        mtt::RenderResult shaped = parsed->Render(*model, options);
        ASSERT_TRUE(shaped.ok && shaped.shape);
        EXPECT_EQ(viaTree.text, shaped.text);
        std::vector<Met> inTree;
        int32_t nodes = 0;
        Flatten(viaTree.output.get(), -1, 0, nodes, inTree);
        ASSERT_TRUE(Walked(*shaped.shape) == inTree);
        GeneratedText fromShape(MTTString(shaped.text.data(), shaped.text.size()), std::move(*shaped.shape), keys,
                                namer, syntax);
        options.shape = false;
        options.userCodePieces = true;
        mtt::RenderResult direct = parsed->Render(*model, options);
        ASSERT_TRUE(direct.ok);
        EXPECT_EQ(3 * iCount * count, direct.userCode.size());
        GeneratedText fromText(MTTString(direct.text.data(), direct.text.size()), direct.userCode, keys, namer, syntax);

        ASSERT_EQ(iCount * count, fromLeaves.Sections().size());
        ASSERT_EQ(fromLeaves.Sections().size(), fromText.Sections().size());
        std::vector<std::string> texts;
        for (size_t i = 0; i < fromLeaves.Sections().size(); ++i) {
            const GeneratedText::Section& tree = fromLeaves.Sections()[i];
            const GeneratedText::Section& text = fromText.Sections()[i];
            EXPECT_EQ(tree.key, text.key);
            EXPECT_EQ(tree.pointer, text.pointer);
            EXPECT_EQ(tree.positional, text.positional);
            EXPECT_EQ(tree.owner, text.owner);
            EXPECT_EQ(tree.statement, text.statement);
            EXPECT_EQ(tree.modelText, text.modelText);
            texts.push_back(i % 2 ? std::string() : "kept " + std::to_string(i));  // one without a line end
        }
        fromLeaves.Compose(texts);
        fromShape.Compose(texts);
        fromText.Compose(texts);
        EXPECT_EQ(fromLeaves.Text(), fromText.Text());
        EXPECT_EQ(fromLeaves.Text(), fromShape.Text());
        ASSERT_EQ(fromLeaves.PieceCount(), fromShape.PieceCount());
        for (size_t i = 0; i < fromLeaves.PieceCount(); ++i) {
            const GeneratedText::Piece tree = fromLeaves.PieceAt(i), heard = fromShape.PieceAt(i);
            ASSERT_TRUE(tree.statement == heard.statement && tree.leaf.object == heard.leaf.object &&
                        tree.leaf.end == heard.leaf.end && tree.leaf.Type() == heard.leaf.Type() &&
                        tree.end == heard.end)
                << "piece " << i;
            // Outside the sections a piece reads as it was written.
            const size_t written = fromShape.Shape().Begin(i);
            const std::string raw = shaped.text.substr(written, heard.leaf.end - written);
            if (heard.leaf.Type() != MTTLeafUserCode && raw.find("User Code") == std::string::npos) {
                ASSERT_EQ(fromShape.Text().substr(heard.begin, heard.end - heard.begin), raw) << "piece " << i;
            }
        }
        const mtt::OutputShape &treeNodes = fromLeaves.Shape(), &heardNodes = fromShape.Shape();
        ASSERT_EQ(treeNodes.Nodes().size(), heardNodes.Nodes().size());
        for (size_t i = 0; i < treeNodes.Nodes().size(); ++i) {
            const mtt::OutputShape::Node &tree = treeNodes.Nodes()[i], &heard = heardNodes.Nodes()[i];
            ASSERT_TRUE(treeNodes.StatementOf(tree) == heardNodes.StatementOf(heard) &&
                        tree.children == heard.children && tree.leavesBefore == heard.leavesBefore)
                << "node " << i;
        }
        ASSERT_TRUE(Walked(treeNodes) == inTree);
        for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(fromLeaves.WrittenText(i), fromText.WrittenText(i));
        if (iCount == 0) continue;
        // The first begin marker line was written by the first directive.
        int line = 1;
        const size_t marker = fromText.Text().find("// Begin of User Code");
        for (size_t at = 0; at < marker; ++at) line += fromText.Text()[at] == '\n';
        EXPECT_EQ(fromLeaves.Sections()[0].statement, fromText.StatementAtLine(line));
        EXPECT_EQ(fromLeaves.StatementAtLine(line), fromText.StatementAtLine(line));
    }
}

}  // namespace

TEST(GeneratedTextTest, TheTextAndItsPiecesGiveWhatTheTreeGives)
{
    // Line ends of two bytes, a named section and one without a name.
    ExpectBothWaysAlike(
        "// header\r\n[% foreach classes %]class ${name} {\r\n[% usercode %]  int x;\r\n"
        "[% usercode as \"tail\" %]};\r\n[% end %]",
        2);
    // Sections first and last, side by side, in a branch, in a function
    // called twice, and in a nested loop keyed by the inner element.
    ExpectBothWaysAlike("[% foreach classes %][% usercode %][% usercode as \"b\" %]x\n[% end %]", 2);
    // No section: the text as written.
    ExpectBothWaysAlike("[% foreach classes %]class ${name};\n[% foreach parts %]  ${name}\n[% end %][% end %]", 0);
    ExpectBothWaysAlike(
        "[% foreach classes %][% if ${@index} % 2 == 0 %][% usercode %][% else %]"
        "[% usercode as \"odd\" %][% end %]\n[% end %]",
        1);
    ExpectBothWaysAlike(
        "[% function f(p) %]<${p}>[% usercode as \"f\" %][% end %]"
        "[% foreach classes %][% call f(\"one\") %][% call f(\"two\") %][% end %]",
        2);
    ExpectBothWaysAlike("[% foreach classes %]c\n[% foreach parts %]  p ${name}\n[% usercode %][% end %][% end %]", 2);
}
