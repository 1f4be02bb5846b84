#ifndef MODELNODETABLE_H
#define MODELNODETABLE_H

#include <cstdint>
#include <string>
#include <unordered_map>

#include <nlohmann/json_fwd.hpp>

// A JSON document as the explain page's model pane draws it: every node in
// document order, as a flat JSON array of triples PARENT, KEY, VALUE. PARENT
// is the index of the enclosing node (-1 for the root), KEY the member name
// or element number (null for the root), VALUE "{" or "[" for an object or
// an array, else the scalar as JSON writes it. The page folds and unfolds
// from this, and numbers keep the text the model reads.
class ModelNodeTable {
public:
    explicit ModelNodeTable(const nlohmann::json& iDocument);

    // The index of a node of the document, -1 for any other.
    int32_t IndexOf(const nlohmann::json* iNode) const;
    const std::string& Json() const { return _json; }

private:
    std::unordered_map<const nlohmann::json*, int32_t> _indexes;
    std::string _json;
};

#endif
