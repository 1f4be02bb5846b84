#ifndef MTT_JSON_VALUES_H
#define MTT_JSON_VALUES_H

// How a JSON node answers value references and path elements: the part that
// the run-time model (mtt_runtime.h) and the host's JSON model (JsonModel)
// share, so that both evaluation modes give the same texts. Header-only,
// C++17, needs nlohmann/json.hpp.

#include <cstddef>
#include <string>
#include <string_view>
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

    // What iRef reads on a node, transforms applied; iNode answers for the
    // node (any document form):
    //   bool IsObject()                     whether it is an object
    //   bool Member(std::string_view, Value&)  a member's value; false when missing
    //   Value Self()                        its own value
    //   Value UserCode()                    what an unquoted "UserCode" reads on an object
    //   bool Position(ListPosition&)        where it sits in its list; false when in none
    //   std::size_t Depth()                 how deep it lies
    // Position and Depth are asked for loop values only. Expressions are
    // answered by the callers.
    template <class Node>
    static Value ReadOf(const ValueRef& iRef, Node&& iNode)
    {
        Value value;
        switch (iRef.GetBase()) {
        case ValueRef::kInvalid:
        case ValueRef::kComputed:
        case ValueRef::kTest:
        case ValueRef::kSelection: return value;
        case ValueRef::kMember:
            if (!iRef.IsQuoted() && iNode.IsObject() && iRef.Name() == "UserCode") {
                value = iNode.UserCode();
            } else {
                iNode.Member(iRef.Name(), value);
            }
            break;
        case ValueRef::kSelf: value = iNode.Self(); break;
        case ValueRef::kSize: {
            // A list's own value knows its length; anything else has none.
            const Value self = iNode.Self();
            if (self.GetKind() == Value::kList) value = Value::Number(static_cast<std::int64_t>(self.Size()));
            break;
        }
        default: {
            ListPosition position;
            const bool listed = iRef.GetBase() != ValueRef::kDepth && iNode.Position(position);
            const std::size_t depth = iRef.GetBase() == ValueRef::kDepth ? iNode.Depth() : 0;
            value = iRef.DerivedValue(listed, position.index, position.count, depth);
        }
        }
        return iRef.Apply(std::move(value));
    }

    // ReadOf on a node of an nlohmann document. iPositionOf(ListPosition&)
    // and iDepthOf() answer Position and Depth; iUserCodeOf() gives the node
    // that answers an unquoted "UserCode" on an object.
    template <class PositionOf, class DepthOf, class UserCodeOf>
    static Value Read(const ValueRef& iRef, const Json& iNode, PositionOf&& iPositionOf, DepthOf&& iDepthOf,
                      UserCodeOf&& iUserCodeOf)
    {
        struct Node {
            const Json& node;
            PositionOf& positionOf;
            DepthOf& depthOf;
            UserCodeOf& userCodeOf;
            bool IsObject() const { return node.is_object(); }
            bool Member(std::string_view iName, Value& oValue) const
            {
                const Json* member = mtt_runtime::Member(&node, iName);
                if (member != nullptr) oValue = ValueOf(*member);
                return member != nullptr;
            }
            Value Self() const { return ValueOf(node); }
            Value UserCode() const { return ValueOf(userCodeOf()); }
            bool Position(ListPosition& oPosition) const { return positionOf(oPosition); }
            std::size_t Depth() const { return depthOf(); }
        };
        return ReadOf(iRef, Node{iNode, iPositionOf, iDepthOf, iUserCodeOf});
    }
};

}  // namespace mtt_runtime

#endif
