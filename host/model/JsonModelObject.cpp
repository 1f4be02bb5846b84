#include "JsonModelObject.h"

#include <nlohmann/json.hpp>

#include "JsonModel.h"
#include "mtt_json_builder.h"

JsonModelObject::JsonModelObject(JsonModel& iModel, const nlohmann::json& iNode, const JsonModelObject* iParent,
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

MTLIModelObject* JsonModelObject::GetProperty(const MTTString& iName)
{
    std::string name(iName.ConvertToChar());
    const nlohmann::json* member = mtt_runtime::Member(&_node, name);
    return member == nullptr ? nullptr : _model.ObjectFor(*member, this, name);
}

int JsonModelObject::GetSize()
{
    if (!_node.is_array()) return 0;
    return _node.size() > 0x7fffffffu ? 0x7fffffff : static_cast<int>(_node.size());
}

MTLIModelObject* JsonModelObject::GetElement(int iIndex)
{
    if (!_node.is_array() || iIndex < 0 || static_cast<size_t>(iIndex) >= _node.size()) return nullptr;
    return _model.ObjectFor(_node[static_cast<size_t>(iIndex)], this, std::to_string(iIndex));
}

MTTString JsonModelObject::GetValue(const char* iName)
{
    const nlohmann::json* node = iName == nullptr ? &_node : mtt_runtime::Member(&_node, iName);
    if (node == nullptr || !mtt_runtime::IsScalar(*node)) return MTTString();
    return MTTString(mtt_runtime::ScalarText(*node).c_str());
}
