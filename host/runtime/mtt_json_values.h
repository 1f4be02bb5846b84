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

    // The text iRef reads on iNode. iPositionOf(ListPosition&) says where
    // iNode sits in its list (false when it is not a list element) and is
    // called for derived values only; iUserCodeOf() gives the node that
    // answers an unquoted "UserCode" on an object.
    template <class PositionOf, class UserCodeOf>
    static std::string Text(const ValueRef& iRef, const Json& iNode, PositionOf&& iPositionOf, UserCodeOf&& iUserCodeOf)
    {
        std::string text;
        switch (iRef.GetBase()) {
        case ValueRef::kInvalid: return text;
        case ValueRef::kMember: {
            const bool userCode = !iRef.IsQuoted() && iNode.is_object() && iRef.Name() == "UserCode";
            const Json* member = userCode ? &iUserCodeOf() : Member(&iNode, iRef.Name());
            if (member != nullptr) text = ScalarText(*member);
            break;
        }
        case ValueRef::kSelf: text = ScalarText(iNode); break;
        default: {
            ListPosition position;
            if (iPositionOf(position)) text = iRef.DerivedText(position.index, position.count);
        }
        }
        return iRef.Apply(std::move(text));
    }
};

}  // namespace mtt_runtime

#endif
