#ifndef MTT_JSON_VALUES_H
#define MTT_JSON_VALUES_H

// How a JSON node answers value references and path elements: the part that
// the run-time model (mtt_runtime.h) and the host's JSON model (JsonModel)
// share, so that both evaluation modes give the same texts. Header-only,
// C++17, needs nlohmann/json.hpp.

#include <cstddef>
#include <string>
#include <utility>

#include "mtt_json_builder.h"
#include "mtt_path_element.h"
#include "mtt_value.h"
#include "mtt_value_ref.h"

namespace mtt_runtime {

// Where a node sits in the array that holds it.
struct ListPosition {
    std::size_t index = 0;
    std::size_t count = 0;
};

class JsonValues {
public:
    // The node that a member or index element reaches from iNode, or null.
    // ".." and "UserCode" need more than the node: the callers answer them.
    static const Json* Child(const Json& iNode, const PathElement& iElement)
    {
        if (iElement.GetKind() == PathElement::kIndex && iNode.is_array()) {
            return iElement.Index() < iNode.size() ? &iNode[iElement.Index()] : nullptr;
        }
        if (iElement.GetKind() == PathElement::kMember || iElement.GetKind() == PathElement::kIndex) {
            return Member(&iNode, iElement.Name());
        }
        return nullptr;
    }

    // "UserCode" of an object that has no other source for it: its member of
    // that name when that is a scalar, else an empty text.
    static const Json& UserCodeMember(const Json& iObject)
    {
        static const Json empty = "";
        const Json* member = Member(&iObject, "UserCode");
        return member != nullptr && IsScalar(*member) ? *member : empty;
    }

    // The value of a node as expressions and transforms see it.
    static Value ValueOf(const Json& iNode)
    {
        switch (iNode.type()) {
        case Json::value_t::string: return Value(Value::kText, ScalarText(iNode));
        case Json::value_t::boolean: return Value::Boolean(iNode.get<bool>());
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float: return Value(Value::kNumber, iNode.dump());
        case Json::value_t::array: return Value(Value::kList, std::string(), iNode.size());
        case Json::value_t::object: return Value(Value::kObject, std::string());
        default: return Value();
        }
    }

    // What iRef reads on iNode, transforms applied. iPositionOf(ListPosition&)
    // says where iNode sits in its list (false when it is not a list
    // element) and iDepthOf() how deep it lies; they are called for loop
    // values only. iUserCodeOf() gives the node that answers an unquoted
    // "UserCode" on an object. Expressions are answered by the callers.
    template <class PositionOf, class DepthOf, class UserCodeOf>
    static Value Read(const ValueRef& iRef, const Json& iNode, PositionOf&& iPositionOf, DepthOf&& iDepthOf,
                      UserCodeOf&& iUserCodeOf)
    {
        Value value;
        switch (iRef.GetBase()) {
        case ValueRef::kInvalid:
        case ValueRef::kComputed:
        case ValueRef::kTest:
        case ValueRef::kSelection: return value;
        case ValueRef::kMember: {
            const bool userCode = !iRef.IsQuoted() && iNode.is_object() && iRef.Name() == "UserCode";
            const Json* member = userCode ? &iUserCodeOf() : Member(&iNode, iRef.Name());
            if (member != nullptr) value = ValueOf(*member);
            break;
        }
        case ValueRef::kSelf: value = ValueOf(iNode); break;
        default: {
            ListPosition position;
            const bool listed = iRef.GetBase() != ValueRef::kDepth && iPositionOf(position);
            const std::size_t depth = iRef.GetBase() == ValueRef::kDepth ? iDepthOf() : 0;
            value = iRef.DerivedValue(listed, position.index, position.count, depth);
        }
        }
        return iRef.Apply(std::move(value));
    }
};

}  // namespace mtt_runtime

#endif
