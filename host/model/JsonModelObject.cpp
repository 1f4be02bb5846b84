#include "JsonModelObject.h"

#include <vector>

#include <charconv>
#include <cstdlib>
#include <string_view>

#include <nlohmann/json.hpp>

#include "JsonModel.h"
#include "JsonModelSelection.h"
#include "MTTIMessageObserver.h"
#include "mtt_expression.h"
#include "mtt_json_builder.h"
#include "mtt_json_values.h"
#include "mtt_path_element.h"
#include "mtt_selection.h"
#include "mtt_value_ref.h"

using mtt_runtime::PathElement;
using mtt_runtime::Value;
using mtt_runtime::ValueRef;

// What an expression reads on an object: its path walked with GetProperty,
// as the library walks it, then the value read.
class JsonModelObject::At : public mtt_runtime::Expression::Context {
public:
    explicit At(JsonModelObject& iObject) : _object(iObject) {}

    bool Read(const mtt_runtime::Expression& iProperty, Value& oValue) override
    {
        MTLIModelObject* object = iProperty.IsRelative() ? &_object : _object._model.Root();
        const std::vector<std::string>& path = iProperty.Path();
        for (size_t i = 0; i < path.size() && object != nullptr; ++i) {
            if (i == 0 && path[i] == "this") continue;
            object = object->GetProperty(MTTString(path[i].c_str()));
        }
        if (object == nullptr) return false;
        oValue = static_cast<JsonModelObject*>(object)->Read(iProperty.Ref(), problem);
        return true;
    }

    std::string problem;

private:
    JsonModelObject& _object;
};

JsonModelObject::JsonModelObject(JsonModel& iModel, const nlohmann::json& iNode, JsonModelObject* iParent,
                                 std::string iToken)
    : _model(iModel), _node(iNode), _parent(iParent), _token(std::move(iToken))
{
}

JsonModelObject::~JsonModelObject() {}

int JsonModelObject::GetKind()
{
    if (_node.is_array()) return 1;
    if (mtt_runtime::IsScalar(_node)) return 2;
    return 0;
}

// Plain names take the first branch after a scan of their bytes, with no
// copy of the name: this runs once per path element of every property.
MTLIModelObject* JsonModelObject::GetProperty(const MTTString& iName)
{
    const std::string_view text(iName.ConvertToChar(), iName.Length());
    const PathElement element = PathElement::Parse(text);
    switch (element.GetKind()) {
    case PathElement::kParent: return Original().Enclosing();
    case PathElement::kUserCode: return _node.is_object() ? _model.UserCodeOf(Original()) : nullptr;
    case PathElement::kTest: return Test(_model.RefFor(text));
    case PathElement::kSelection: return Original().View(std::string(text), _model.RefFor(text));
    default: {
        const nlohmann::json* child = mtt_runtime::JsonValues::Child(_node, element);
        return child == nullptr ? nullptr : _model.ObjectFor(*child, &Original(), element.Name());
    }
    }
}

int JsonModelObject::GetSize()
{
    if (_selection && _selection->isView) return static_cast<int>(_selection->elements.size());
    if (!_node.is_array()) return 0;
    return _node.size() > 0x7fffffffu ? 0x7fffffff : static_cast<int>(_node.size());
}

MTLIModelObject* JsonModelObject::GetElement(int iIndex)
{
    if (_selection && _selection->isView) {
        const std::vector<std::unique_ptr<JsonModelObject>>& elements = _selection->elements;
        return iIndex >= 0 && static_cast<size_t>(iIndex) < elements.size() ? elements[iIndex].get() : nullptr;
    }
    if (!_node.is_array() || iIndex < 0 || static_cast<size_t>(iIndex) >= _node.size()) return nullptr;
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, iIndex).ptr;
    return _model.ObjectFor(_node[static_cast<size_t>(iIndex)], &Original(), std::string_view(digits, end - digits));
}

MTTString JsonModelObject::GetValue(const char* iName)
{
    if (iName == nullptr) return MTTString(mtt_runtime::ScalarText(_node).c_str());
    const std::string_view name(iName);
    if (mtt_runtime::NameSyntax::IsPlain(name) && name != "UserCode") {
        const nlohmann::json* member = mtt_runtime::Member(&_node, name);
        if (member == nullptr) return MTTString();
        // A string member is copied once, straight from the document (the
        // MTTString ends at a \u0000 as ScalarText does).
        if (member->is_string()) return MTTString(member->get_ref<const std::string&>().c_str());
        return MTTString(mtt_runtime::ScalarText(*member).c_str());
    }
    std::string problem;
    const Value value = Read(_model.RefFor(name), problem);
    if (!problem.empty()) Report(problem);
    return MTTString(value.Str().c_str());
}

Value JsonModelObject::Read(const ValueRef& iRef, std::string& oProblem)
{
    if (iRef.GetBase() == ValueRef::kComputed) {
        const mtt_runtime::Expression* expression = iRef.GetExpression();
        if (expression == nullptr) {
            oProblem = "malformed expression \"" + iRef.Name() + "\"";
            return Value();
        }
        At at(*this);
        Value value = expression->Evaluate(at, oProblem);
        if (oProblem.empty()) oProblem = at.problem;
        return value;
    }
    auto position = [this](mtt_runtime::ListPosition& oPosition) {
        if (_selection && _selection->original != nullptr && !_selection->isView) {
            oPosition.index = _selection->index;
            oPosition.count = _selection->count;
            return true;
        }
        if (_parent == nullptr || !_parent->_node.is_array()) return false;
        oPosition.index = std::strtoull(_token.c_str(), nullptr, 10);
        oPosition.count = _parent->_node.size();
        return true;
    };
    auto depth = [this]() {
        size_t levels = 0;
        for (const JsonModelObject* object = Enclosing(); object != nullptr; object = object->Enclosing()) ++levels;
        return levels;
    };
    auto userCode = [this]() -> const nlohmann::json& { return _model.UserCodeOf(Original())->_node; };
    return mtt_runtime::JsonValues::Read(iRef, _node, position, depth, userCode);
}

MTLIModelObject* JsonModelObject::Test(const ValueRef& iRef)
{
    const mtt_runtime::Expression* test = iRef.GetExpression();
    std::string problem = test == nullptr ? "malformed expression \"" + iRef.Name() + "\"" : std::string();
    At at(*this);
    const bool holds = test != nullptr && test->Test(at, problem);
    if (problem.empty()) problem = at.problem;
    if (!problem.empty()) Report(problem);
    return holds ? this : nullptr;
}

MTLIModelObject* JsonModelObject::View(const std::string& iText, const ValueRef& iRef)
{
    // Not a list: the loop says so.
    if (!_node.is_array()) return this;
    if (!_selection) _selection.reset(new JsonModelSelection());
    std::unique_ptr<JsonModelObject>& view = _selection->views[iText];
    if (view) return view.get();
    view.reset(new JsonModelObject(_model, _node, _parent, _token));
    view->_selection.reset(new JsonModelSelection());
    view->_selection->original = this;
    view->_selection->isView = true;

    const mtt_runtime::Selection* selection = iRef.GetSelection();
    std::string problem = selection == nullptr ? "malformed selection \"" + iRef.Name() + "\"" : std::string();
    std::vector<At> contexts;
    contexts.reserve(_node.size());
    for (size_t i = 0; i < _node.size(); ++i) {
        contexts.emplace_back(*static_cast<JsonModelObject*>(GetElement(static_cast<int>(i))));
    }
    std::vector<size_t> kept;
    if (selection != nullptr) {
        kept = selection->Select(
            _node.size(), [&](size_t i) -> mtt_runtime::Expression::Context& { return contexts[i]; }, problem);
    }
    for (const At& at : contexts) {
        if (problem.empty()) problem = at.problem;
    }
    if (!problem.empty()) {
        Report(problem);
        kept.clear();
    }
    for (size_t i = 0; i < kept.size(); ++i) {
        JsonModelObject* original = static_cast<JsonModelObject*>(GetElement(static_cast<int>(kept[i])));
        std::unique_ptr<JsonModelObject> element(new JsonModelObject(_model, original->_node, this, original->_token));
        element->_selection.reset(new JsonModelSelection());
        element->_selection->original = original;
        element->_selection->index = i;
        element->_selection->count = kept.size();
        view->_selection->elements.push_back(std::move(element));
    }
    return view.get();
}

JsonModelObject& JsonModelObject::Original()
{
    return _selection && _selection->original != nullptr ? *_selection->original : *this;
}

JsonModelObject* JsonModelObject::Enclosing() const
{
    JsonModelObject* object = _parent;
    while (object != nullptr && object->_node.is_array()) object = object->_parent;
    return object;
}

void JsonModelObject::Report(const std::string& iProblem)
{
    MTTIMessageObserver::ReportFromModel(("ERROR: " + iProblem + ".\n").c_str());
}

std::string JsonModelObject::Pointer() const
{
    std::vector<const std::string*> tokens;
    for (const JsonModelObject* o = this; o->Parent() != nullptr; o = o->Parent()) tokens.push_back(&o->Token());
    std::string pointer;
    for (auto token = tokens.rbegin(); token != tokens.rend(); ++token) {
        pointer += '/';
        for (const char c : **token) {
            if (c == '~') {
                pointer += "~0";
            } else if (c == '/') {
                pointer += "~1";
            } else {
                pointer += c;
            }
        }
    }
    return pointer;
}
