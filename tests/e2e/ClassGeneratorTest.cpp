#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIEvaluationOutputVisitor.h"
#include "TestLateEvaluator.h"
#include "TestModel.h"
#include "TreeBuilder.h"

// A realistic template built the way a parser builds it, through the
// factory only, evaluated against a small model in both modes and
// compared with the expected files under e2e/golden. Setting
// MTT_UPDATE_GOLDEN rewrites those files from the current output.

namespace {

std::string GoldenPath(const std::string& iName)
{
    return std::string(MTT_TEST_DATA_DIR) + "/e2e/golden/" + iName;
}

void ExpectGolden(const std::string& iName, const std::string& iText)
{
    if (std::getenv("MTT_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(GoldenPath(iName), std::ios::binary) << iText;
        return;
    }
    std::ifstream in(GoldenPath(iName), std::ios::binary);
    ASSERT_TRUE(in.good()) << GoldenPath(iName);
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(expected.str(), iText) << iName;
}

// The class generator, as a parser hands it over: texts between the
// statements hold the template's own layout, which Normalize empties.
//
//   // Generated for model ${name:/}<NL>
//   declare int flags
//   declare string indent = "    "   (a blank text of its own would be normalised away)
//   function field(type, name) { indent type <SPC> name ";" <NL> }
//   foreach ${:/classes} {
//     if (${abstract:} == "yes") { "abstract " }
//     "class " ${name:} " {" <NL>
//     foreach ${:attributes} { field(${type:}, ${name:}) }
//     flags |= ${flag:}
//     usercode ${:this}
//     "};\n"
//   }
//   "const int kAllFlags = " flags ";\n"
MTTIStatement* BuildClassGenerator()
{
    TreeBuilder b;
    MTTIStatement* field = b.Function(
        "field", {"type", "name"},
        b.List({b.Expr(b.Var("indent")), b.Expr(b.Var("type")), b.Special("SPC"), b.Expr(b.Var("name")), b.Text(";"),
                b.Special("NL")}));
    MTTIStatement* classBody = b.List({
        b.Text("\n    "),
        b.If(b.Eq(b.Prop("abstract", ""), b.Str("yes")), b.Text("abstract "), b.List({})),
        b.Text("class "), b.Expr(b.Prop("name", "")), b.Text(" {"), b.Special("NL"),
        b.Text("  \t\n"),
        b.Foreach(b.Prop("", "attributes"), b.Call("field", {b.Prop("type", ""), b.Prop("name", "")})),
        b.OrEquals("flags", b.Prop("flag", "")),
        b.Usercode(b.Prop("", "this")),
        b.Text("};\n"),
    });
    MTTIStatement* root = b.Text("// Generated for model ");
    for (MTTIStatement* next : {b.Expr(b.Prop("name", "/")), b.Special("NL"), b.Declare("flags", 0),
                                b.Declare("indent", 1), b.Assign("indent", b.Str("    ")), b.Text("\n"),
                                field, b.Foreach(b.Prop("", "/classes"), classBody), b.Text("const int kAllFlags = "),
                                b.Expr(b.Var("flags")), b.Text(";\n")}) {
        root = root->Append(next);  // chains into one statement list
    }
    MTTNodeFactory& factory = b.Factory();
    factory.setTree(root);
    return factory.getTree();
}

struct ShopModel {
    TestObject root;
    TestObject* order;
    TestObject* item;
    ShopModel()
    {
        root.Set("name", "shop");
        TestObject& classes = root.AddList("classes");
        order = &classes.AddElement().Set("name", "Order").Set("abstract", "no").Set("flag", "F_ORDER");
        TestObject& orderAttributes = order->AddList("attributes");
        orderAttributes.AddElement().Set("type", "int").Set("name", "id");
        orderAttributes.AddElement().Set("type", "double").Set("name", "total");
        order->AddScalar("UserCode", "    void audit();\n");
        item = &classes.AddElement().Set("name", "Item").Set("abstract", "yes").Set("flag", "F_ITEM");
        item->AddList("attributes").AddElement().Set("type", "string").Set("name", "sku");
        item->AddScalar("UserCode", "");
    }
};

// Collects the user-code leaves of an output tree, walking it through
// the public visitor.
class UserCodeFinder : public MTTIEvaluationOutputVisitor {
public:
    long VisitOutputNode(MTTEvaluationOutputNode* iNode) override
    {
        for (int i = 0; i < iNode->GetChildCount(); ++i) {
            if (iNode->GetChild(i) != nullptr) iNode->GetChild(i)->Accept(this);
        }
        return S_OK;
    }
    long VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf) override
    {
        if (iLeaf->GetLeafType() == MTTLeafUserCode) found.push_back(iLeaf);
        return S_OK;
    }
    std::vector<MTTEvaluationOutputLeaf*> found;
};

}  // namespace

TEST(ClassGenerator, ImmediateEvaluationMatchesTheExpectedFile)
{
    std::unique_ptr<MTTIStatement> tree(BuildClassGenerator());
    ASSERT_EQ(S_OK, tree->Normalize());
    ShopModel model;
    auto env = std::make_unique<MTTEvaluationEnvironment>(&model.root);
    CapturedRun run = RunCaptured(tree.get(), *env);
    ASSERT_NE(nullptr, run.output);
    EXPECT_EQ("", run.out + run.err);
    ExpectGolden("class_generator.txt", run.text);

    UserCodeFinder finder;
    run.output->Accept(&finder);
    ASSERT_EQ(2u, finder.found.size());
    EXPECT_STREQ("    void audit();\n", finder.found[0]->GetText().ConvertToChar());
    EXPECT_EQ(model.order, finder.found[0]->GetModelObject());
    EXPECT_STREQ("", finder.found[1]->GetText().ConvertToChar());
    EXPECT_EQ(model.item, finder.found[1]->GetModelObject());

    // The same tree evaluates again, in a fresh environment, to the same text.
    MTTEvaluationEnvironment again(&model.root);
    EXPECT_EQ(run.text, RunCaptured(tree.get(), again).text);
    run.output.reset();
    env.reset();
}

TEST(ClassGenerator, LateEvaluationMatchesTheExpectedFile)
{
    std::unique_ptr<MTTIStatement> tree(BuildClassGenerator());
    ASSERT_EQ(S_OK, tree->Normalize());
    TestLateEvaluator late;
    MTTEvaluationEnvironment env(&late);
    CapturedRun run = RunCaptured(tree.get(), env, true);
    ASSERT_NE(nullptr, run.output);
    EXPECT_EQ("", run.out + run.err);
    ExpectGolden("class_generator.late.txt", run.text);
    EXPECT_EQ((std::vector<std::string>{"prop(/,name)", "size(/classes)", "enter(/classes,index_i)",
                                        "prop(,abstract)", "prop(,name)", "size(attributes)",
                                        "enter(attributes,index_i)", "leave()", "prop(,flag)", "prop(this,)",
                                        "leave()"}),
              late.calls);
}

TEST(ClassGenerator, AModelWithoutTheListFailsWithMessagesInnermostFirst)
{
    std::unique_ptr<MTTIStatement> tree(BuildClassGenerator());
    TestObject empty;
    empty.Set("name", "none");
    MTTEvaluationEnvironment env(&empty);
    CapturedRun run = RunCaptured(tree.get(), env);
    EXPECT_EQ(nullptr, run.output);
    EXPECT_EQ("ERROR: Property \"${:/classes}\" does not exist.\nERROR: StatList failed evaluation for child 9.\n",
              run.out);
    EXPECT_EQ("", run.err);
}
