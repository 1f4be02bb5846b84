#include "ModelNodeTable.h"

#include <algorithm>
#include <vector>

#include <nlohmann/json.hpp>

#include "ScriptJson.h"

ModelNodeTable::ModelNodeTable(const nlohmann::json& iDocument)
{
    struct Pending {
        const nlohmann::json* node;
        int32_t parent;
        std::string key;  // already JSON
    };
    // An explicit stack: a document may nest deeper than the call stack.
    std::vector<Pending> pending{{&iDocument, -1, "null"}};
    _json = "[";
    while (!pending.empty()) {
        Pending next = std::move(pending.back());
        pending.pop_back();
        const int32_t index = static_cast<int32_t>(_indexes.size());
        _indexes.emplace(next.node, index);
        if (index > 0) _json += ',';
        _json += std::to_string(next.parent) + ',' + next.key + ',';
        const nlohmann::json& node = *next.node;
        if (node.is_object()) {
            _json += "\"{\"";
            const size_t first = pending.size();
            for (auto member = node.begin(); member != node.end(); ++member) {
                std::string key;
                ScriptJson::AppendString(key, member.key());
                pending.push_back(Pending{&member.value(), index, std::move(key)});
            }
            std::reverse(pending.begin() + first, pending.end());
        } else if (node.is_array()) {
            _json += "\"[\"";
            for (size_t i = node.size(); i-- > 0;) {
                pending.push_back(Pending{&node[i], index, std::to_string(i)});
            }
        } else {
            ScriptJson::AppendString(_json, node.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
        }
    }
    _json += ']';
}

int32_t ModelNodeTable::IndexOf(const nlohmann::json* iNode) const
{
    auto found = _indexes.find(iNode);
    return found == _indexes.end() ? -1 : found->second;
}
