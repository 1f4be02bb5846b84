// A complete, minimal host of the mtt library: a model of its own, a
// template built through the node factory, immediate evaluation, a walk
// over the output to find the user code, and late evaluation.
//
// Build against an installed library:
//   cmake -S . -B build -DCMAKE_PREFIX_PATH=/where/mtt/is/installed
//   cmake --build build && ./build/minimal-host
// or: g++ -std=c++17 main.cpp $(pkg-config --cflags --libs mtt) -o minimal-host
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ListOfMTTIExpression.h"
#include "ListOfMTTString.h"
#include "MTLILateEvaluator.h"
#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIEvaluationOutputVisitor.h"
#include "MTTIExpression.h"
#include "MTTIStatement.h"
#include "MTTNodeFactory.h"

// One model element: a record (kind 0) with named members, a list (kind 1)
// or a scalar (kind 2) with a text. Each object owns its members and
// elements, so deleting the root releases the whole model.
class ModelObject : public MTLIModelObject {
public:
    explicit ModelObject(int iKind, std::string iText = std::string()) : _kind(iKind), _text(std::move(iText)) {}

    ModelObject& Add(const std::string& iName, ModelObject* iMember) {
        _members[iName].reset(iMember);
        return *iMember;
    }
    ModelObject& Append(ModelObject* iElement) {
        _elements.emplace_back(iElement);
        return *iElement;
    }

    int GetKind() override { return _kind; }
    MTLIModelObject* GetProperty(const MTTString& iName) override {
        auto found = _members.find(iName.ConvertToChar());
        return found == _members.end() ? nullptr : found->second.get();
    }
    int GetSize() override { return static_cast<int>(_elements.size()); }
    MTLIModelObject* GetElement(int iIndex) override {
        return iIndex >= 0 && iIndex < GetSize() ? _elements[iIndex].get() : nullptr;
    }
    // With a name: the text of that scalar member; with null: our own text.
    MTTString GetValue(const char* iName) override {
        if (iName == nullptr) {
            return MTTString(_text.c_str());
        }
        auto found = _members.find(iName);
        if (found == _members.end() || found->second->_kind != 2) {
            return MTTString();
        }
        return MTTString(found->second->_text.c_str());
    }

private:
    int _kind;
    std::string _text;
    std::map<std::string, std::unique_ptr<ModelObject>> _members;
    std::vector<std::unique_ptr<ModelObject>> _elements;
};

// Late evaluation: the code that the generated program runs to read the
// model. This host's generated code talks to an object called "model".
class LateEvaluator : public MTLILateEvaluator {
public:
    MTTString LateProperty(const char* iPath, const char* iName) override {
        return Code("model.Value(\"" + std::string(iPath) + "\", \"" + iName + "\")");
    }
    MTTString LateListSize(const char* iPath) override { return Code("model.Size(\"" + std::string(iPath) + "\")"); }
    MTTString LateEnterElement(const char* iPath, const char* iIndexName) override {
        return Code("model.Enter(\"" + std::string(iPath) + "\", " + iIndexName + ")");
    }
    MTTString LateLeaveElement() override { return Code("model.Leave()"); }

private:
    static MTTString Code(const std::string& iText) { return MTTString(iText.c_str()); }
};

// Counts the leaves that hold user code. Accept does not descend, so the
// visitor walks the children of a node itself.
class UserCodeCounter : public MTTIEvaluationOutputVisitor {
public:
    long VisitOutputNode(MTTEvaluationOutputNode* iNode) override {
        for (int i = 0; i < iNode->GetChildCount(); ++i) {
            if (MTTEvaluationOutput* child = iNode->GetChild(i)) {
                child->Accept(this);
            }
        }
        return S_OK;
    }
    long VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf) override {
        if (iLeaf->GetLeafType() == MTTLeafUserCode) {
            ++count;
        }
        return S_OK;
    }
    int count = 0;
};

// ${name} or ${name:a/b}: a property of the current object.
static MTTIExpression* Property(MTTNodeFactory& ioFactory, const char* iPath, const char* iName) {
    ListOfMTTString path;
    if (*iPath != '\0') {
        path.Append(MTTString(iPath));
    }
    MTTString name(iName);
    return ioFactory.makeExpProperty(path, true, name);
}

static MTTIStatement* Text(MTTNodeFactory& ioFactory, const char* iText) {
    MTTString text(iText);
    return ioFactory.makeStatText(&text);
}

// The template, written in the template language:
//   // generated
//   [% foreach classes %]struct ${name} {[% usercode %]};
//   [% end %]
// Nodes are made children first; every node takes over the nodes given to
// it, so the root statement owns the whole tree.
static MTTIStatement* BuildTemplate(MTTNodeFactory& ioFactory) {
    MTTIStatement* body = Text(ioFactory, "struct ");
    body = body->Append(ioFactory.makeStatExpression(Property(ioFactory, "", "name")));
    body = body->Append(Text(ioFactory, " {"));
    body = body->Append(ioFactory.makeStatUsercode(Property(ioFactory, "", "")));
    body = body->Append(Text(ioFactory, "};\n"));
    MTTIStatement* loop = ioFactory.makeStatForeach(Property(ioFactory, "classes", ""), body);
    MTTIStatement* root = Text(ioFactory, "// generated\n")->Append(loop);
    ioFactory.setTree(root);
    return ioFactory.getTree();
}

// A template meant for late evaluation: its literal text is C++ that
// prints, and the model is read when that C++ runs.
//   [% foreach classes %]std::cout << ${name} << "\n";
//   [% end %]
static MTTIStatement* BuildLateTemplate(MTTNodeFactory& ioFactory) {
    MTTIStatement* body = Text(ioFactory, "std::cout << ");
    body = body->Append(ioFactory.makeStatExpression(Property(ioFactory, "", "name")));
    body = body->Append(Text(ioFactory, " << \"\\n\";\n"));
    return ioFactory.makeStatForeach(Property(ioFactory, "classes", ""), body);
}

static ModelObject* BuildModel() {
    ModelObject* root = new ModelObject(0);
    ModelObject& classes = root->Add("classes", new ModelObject(1));
    ModelObject& order = classes.Append(new ModelObject(0));
    order.Add("name", new ModelObject(2, "Order"));
    order.Add("UserCode", new ModelObject(2, "  int extra;\n"));
    ModelObject& item = classes.Append(new ModelObject(0));
    item.Add("name", new ModelObject(2, "Item"));
    item.Add("UserCode", new ModelObject(2, ""));
    return root;
}

int main() {
    // What must outlive what: the model and the late evaluator outlive the
    // environments that borrow them; the tree outlives the environments
    // (they borrow its function declarations) and every output (outputs
    // point at its statements). The factory never owns the tree.
    std::unique_ptr<ModelObject> model(BuildModel());
    LateEvaluator lateEvaluator;
    MTTNodeFactory factory;
    std::unique_ptr<MTTIStatement> tree(BuildTemplate(factory));
    std::unique_ptr<MTTIStatement> lateTree(BuildLateTemplate(factory));

    int status = 0;
    {
        MTTEvaluationEnvironment environment(model.get());
        // Null after the library has printed its "ERROR: " lines.
        std::unique_ptr<MTTEvaluationOutput> output(tree->Evaluate(&environment));
        if (output) {
            MTTString text;  // toString appends, so start empty
            output->toString(text);
            UserCodeCounter counter;
            output->Accept(&counter);
            std::printf("%s-- %d user-code sections\n", text.ConvertToChar(), counter.count);
        } else {
            status = 1;
        }
    }  // the output goes first, then the environment
    {
        MTTEvaluationEnvironment environment(&lateEvaluator);
        std::unique_ptr<MTTEvaluationOutput> output(lateTree->LateEvaluate(&environment));
        if (output) {
            MTTString text;
            output->toString(text);
            std::printf("-- late:\n%s", text.ConvertToChar());
        } else {
            status = 1;
        }
    }
    return status;
}
