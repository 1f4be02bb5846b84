// Large inputs that a real generator meets: they must finish, use memory in
// proportion to the output, and leave nothing behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTEvaluationOutputNode.h"
#include "TreeBuilder.h"

namespace {

// A model object with fixed answers: a root whose "items" is a list of any
// length whose elements are all one shared object. A million-element loop
// without a million model objects.
class FixedObject : public MTLIModelObject {
public:
    FixedObject(int iKind, int iSize, FixedObject* iChild) : _kind(iKind), _size(iSize), _child(iChild) {}
    int GetKind() override { return _kind; }
    MTLIModelObject* GetProperty(const MTTString& iName) override { return iName == "items" ? _child : nullptr; }
    int GetSize() override { return _size; }
    MTLIModelObject* GetElement(int iIndex) override { return iIndex < _size ? _child : nullptr; }
    MTTString GetValue(const char*) override { return MTTString("e"); }

private:
    int _kind;
    int _size;
    FixedObject* _child;
};

}  // namespace
TEST(Stress, HundredThousandStatementsInOneList)
{
    TreeBuilder b;
    MTTIStatement* list = b.Factory().makeStatList();
    for (int i = 0; i < 100000; ++i) list = list->Append(i % 2 ? b.Text("ab") : b.Expr(b.Var("v")));
    std::unique_ptr<MTTIStatement> tree(list);
    ASSERT_EQ(tree->GetChildCount(), 100000);

    FixedObject model(0, 0, nullptr);
    MTTEvaluationEnvironment environment(&model);
    environment.AddVariable(MTTString("v"), MTTString("c"), MTTVarString);
    std::unique_ptr<MTTEvaluationOutput> output(tree->Evaluate(&environment));
    ASSERT_NE(output, nullptr);
    MTTString text;
    output->toString(text);
    EXPECT_EQ(text.Length(), 150000u);
    EXPECT_EQ(tree->ToString().Length(), 50000u * (sizeof("(text \"ab\")") - 1) + 50000u * (sizeof("((Var v))") - 1));
    EXPECT_EQ(tree->Normalize(), S_OK);
}

TEST(Stress, LoopOverAMillionElements)
{
    TreeBuilder b;
    std::unique_ptr<MTTIStatement> tree(b.Foreach(b.Prop("", "items"), b.List({b.Expr(b.Prop("n", "")), b.Special("NL")})));
    FixedObject element(0, 0, nullptr);
    FixedObject items(1, 1000000, &element);
    FixedObject root(0, 0, &items);
    MTTEvaluationEnvironment environment(&root);
    std::unique_ptr<MTTEvaluationOutput> output(tree->Evaluate(&environment));
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(static_cast<MTTEvaluationOutputNode*>(output.get())->GetChildCount(), 1000000);
    MTTString text;
    output->toString(text);
    EXPECT_EQ(text.Length(), 2000000u);
    EXPECT_EQ(std::string(text.ConvertToChar(), 4), "e\ne\n");
}
