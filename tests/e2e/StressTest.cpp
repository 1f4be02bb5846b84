// Large inputs that a real generator meets: they must finish, use memory in
// proportion to the output, and leave nothing behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTEvaluationOutputNode.h"
#include "NodeKit.h"
#include "ResidentMemory.h"

using namespace kit;

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

// Resident growth allowed while an output tree is alive: a node or leaf with
// its text and the allocator's overhead takes about 70 bytes; this is
// several times that, and still far below a leak or a copy per element.
const long kKiBPerThousandOutputs = 500;

}  // namespace

TEST(Stress, HundredThousandStatementsInOneList)
{
    MTTIStatement* list = Factory().makeStatList();
    for (int i = 0; i < 100000; ++i) list = list->Append(i % 2 ? Text("ab") : Expr(Var("v")));
    std::unique_ptr<MTTIStatement> tree(list);
    ASSERT_EQ(tree->GetChildCount(), 100000);

    FixedObject model(0, 0, nullptr);
    MTTEvaluationEnvironment environment(&model);
    environment.AddVariable(MTTString("v"), MTTString("c"), MTTVarString);
    long before = ResidentKiB();
    std::unique_ptr<MTTEvaluationOutput> output(tree->Evaluate(&environment));
    ASSERT_NE(output, nullptr);
    EXPECT_LE(ResidentKiB() - before, kKiBPerThousandOutputs * 100);
    MTTString text;
    output->toString(text);
    EXPECT_EQ(text.Length(), 150000u);
    EXPECT_EQ(tree->ToString().Length(), 50000u * (sizeof("(text \"ab\")") - 1) + 50000u * (sizeof("((Var v))") - 1));
    EXPECT_EQ(tree->Normalize(), S_OK);
}

TEST(Stress, LoopOverAMillionElements)
{
    std::unique_ptr<MTTIStatement> tree(Foreach(Prop("", "items"), List({Expr(Prop("n", "")), Special("NL")})));
    FixedObject element(0, 0, nullptr);
    FixedObject items(1, 1000000, &element);
    FixedObject root(0, 0, &items);
    MTTEvaluationEnvironment environment(&root);
    long before = ResidentKiB();
    std::unique_ptr<MTTEvaluationOutput> output(tree->Evaluate(&environment));
    ASSERT_NE(output, nullptr);
    // Three outputs per element (its node and two leaves).
    EXPECT_LE(ResidentKiB() - before, kKiBPerThousandOutputs * 3000);
    EXPECT_EQ(static_cast<MTTEvaluationOutputNode*>(output.get())->GetChildCount(), 1000000);
    MTTString text;
    output->toString(text);
    EXPECT_EQ(text.Length(), 2000000u);
    EXPECT_EQ(std::string(text.ConvertToChar(), 4), "e\ne\n");
}
