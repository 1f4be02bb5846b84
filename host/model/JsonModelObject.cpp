#include "JsonModelObject.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

#include <nlohmann/json.hpp>

#include "JsonModel.h"
#include "mtt_json_builder.h"
#include "mtt_json_values.h"
#include "mtt_path_element.h"
#include "mtt_value_ref.h"

using mtt_runtime::PathElement;

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
    const PathElement element = PathElement::Parse(std::string_view(iName.ConvertToChar(), iName.Length()));
    switch (element.GetKind()) {
    case PathElement::kParent: return Enclosing();
    case PathElement::kUserCode: return _node.is_object() ? _model.UserCodeOf(*this) : nullptr;
    default: {
        const nlohmann::json* child = mtt_runtime::JsonValues::Child(_node, element);
        return child == nullptr ? nullptr : _model.ObjectFor(*child, this, element.Name());
    }
    }
}

int JsonModelObject::GetSize()
{
    if (!_node.is_array()) return 0;
    return _node.size() > 0x7fffffffu ? 0x7fffffff : static_cast<int>(_node.size());
}

MTLIModelObject* JsonModelObject::GetElement(int iIndex)
{
    if (!_node.is_array() || iIndex < 0 || static_cast<size_t>(iIndex) >= _node.size()) return nullptr;
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, iIndex).ptr;
    return _model.ObjectFor(_node[static_cast<size_t>(iIndex)], this, std::string_view(digits, end - digits));
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
    auto position = [this](mtt_runtime::ListPosition& oPosition) {
        if (_parent == nullptr || !_parent->_node.is_array()) return false;
        oPosition.index = std::strtoull(_token.c_str(), nullptr, 10);
        oPosition.count = _parent->_node.size();
        return true;
    };
    auto userCode = [this]() -> const nlohmann::json& { return _model.UserCodeOf(*this)->_node; };
    return MTTString(mtt_runtime::JsonValues::Text(_model.RefFor(name), _node, position, userCode).c_str());
}

JsonModelObject* JsonModelObject::Enclosing() const
{
    JsonModelObject* object = _parent;
    while (object != nullptr && object->_node.is_array()) object = object->_parent;
    return object;
}
