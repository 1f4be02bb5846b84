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
#include "NodeKit.h"

using namespace kit;

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
    MTTIStatement* field = Function("field", {"type", "name"},
                                    List({Expr(Var("indent")), Expr(Var("type")), Special("SPC"), Expr(Var("name")),
                                          Text(";"), Special("NL")}));
    MTTIStatement* classBody = List({
        Text("\n    "),
        If(Eq(Prop("abstract", ""), Str("yes")), Text("abstract "), List({})),
        Text("class "),
        Expr(Prop("name", "")),
        Text(" {"),
        Special("NL"),
        Text("  \t\n"),
        Foreach(Prop("", "attributes"), Call("field", {Prop("type", ""), Prop("name", "")})),
        OrEquals("flags", Prop("flag", "")),
        Usercode(Prop("", "this")),
        Text("};\n"),
    });
    MTTIStatement* root = Text("// Generated for model ");
    for (MTTIStatement* next :
         {Expr(Prop("name", "/")), Special("NL"), Declare("flags", 0), Declare("indent", 1),
          Assign("indent", Str("    ")), Text("\n"), field, Foreach(Prop("", "/classes"), classBody),
          Text("const int kAllFlags = "), Expr(Var("flags")), Text(";\n")}) {
        root = root->Append(next);  // chains into one statement list
    }
    MTTNodeFactory& factory = Factory();
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
    Outcome run = Eval(tree.get(), env.get());
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
    EXPECT_EQ(run.text, Eval(tree.get(), &again).text);
    run.output.reset();
    env.reset();
}

TEST(ClassGenerator, LateEvaluationMatchesTheExpectedFile)
{
    std::unique_ptr<MTTIStatement> tree(BuildClassGenerator());
    ASSERT_EQ(S_OK, tree->Normalize());
    TestLateEvaluator late;
    MTTEvaluationEnvironment env(&late);
    Outcome run = Eval(tree.get(), &env, true);
    ASSERT_NE(nullptr, run.output);
    EXPECT_EQ("", run.out + run.err);
    ExpectGolden("class_generator.late.txt", run.text);
    EXPECT_EQ((std::vector<std::string>{"prop(/,name)", "size(/classes)", "enter(/classes,index_i)", "prop(,abstract)",
                                        "prop(,name)", "size(attributes)", "enter(attributes,index_i)", "leave()",
                                        "prop(,flag)", "prop(this,)", "leave()"}),
              late.calls);
}

TEST(ClassGenerator, AModelWithoutTheListFailsWithMessagesInnermostFirst)
{
    std::unique_ptr<MTTIStatement> tree(BuildClassGenerator());
    TestObject empty;
    empty.Set("name", "none");
    MTTEvaluationEnvironment env(&empty);
    Outcome run = Eval(tree.get(), &env);
    EXPECT_EQ(nullptr, run.output);
    EXPECT_EQ("ERROR: Property \"${:/classes}\" does not exist.\nERROR: StatList failed evaluation for child 9.\n",
              run.out);
    EXPECT_EQ("", run.err);
}
