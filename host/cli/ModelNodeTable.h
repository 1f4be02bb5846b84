#ifndef MODELNODETABLE_H
#define MODELNODETABLE_H

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "EscapedColumn.h"
#include "GrowingArray.h"

class JsonModel;

// A JSON document as the explain page's model pane draws it, and the
// lookups that place generated text in it. Nodes are numbered in document
// order: a node, then its members (in the order the model reads them) or
// elements, each with its own descendants; so a node's descendants are the
// numbers from it up to its end. Written for the page as
//   {"keys": [NAME...], "scalars": TEXT, "nodes": PACKED}
// where PACKED (PackedNumbers) holds three columns, a row per node: how far back
// its parent is (0 for the root), its key (0 for an element or the root,
// else 1 + its place in "keys"), and its value (0 an object, 1 an array,
// else 2 + the length of its JSON text, which "scalars" holds one after
// another, lengths in UTF-16 units as the browser counts). An earlier
// page's table is read back from the same.
class ModelNodeTable {
public:
    // The table of a model's document; oSlots, when given, gets each
    // node's slot in the model (see JsonModel::Visit).
    static ModelNodeTable Of(const JsonModel& iModel, std::vector<uint32_t>* oSlots);
    // Moved, not copied: the key numbers point into the keys.
    ModelNodeTable(ModelNodeTable&&) = default;
    ModelNodeTable(const ModelNodeTable&) = delete;
    ModelNodeTable& operator=(const ModelNodeTable&) = delete;
    // The table an earlier page holds (its "model"); empty when malformed.
    static ModelNodeTable FromPage(const nlohmann::json& iModel);

    int32_t Size() const { return static_cast<int32_t>(_parent.size()); }
    int32_t Parent(int32_t iNode) const { return _parent[iNode]; }
    bool IsObject(int32_t iNode) const { return _kind[iNode] == kObject; }
    bool IsArray(int32_t iNode) const { return _kind[iNode] == kArray; }
    // The member iName of an object, -1 when it has none or is no object.
    int32_t Member(int32_t iNode, std::string_view iName) const { return Member(iNode, KeyOf(iName)); }
    // The same by the name's number (KeyOf), for a name looked up often.
    int32_t Member(int32_t iNode, uint32_t iKey) const;
    // The number of a member name, 0 when no node has it.
    uint32_t KeyOf(std::string_view iName) const;
    // The member or element a JSON pointer token names.
    int32_t Child(int32_t iNode, const std::string& iToken) const;
    // Element iIndex of an array, -1 when there is none.
    int32_t Element(int32_t iNode, size_t iIndex) const;
    // How many members or elements a node has (0 for a scalar).
    int32_t ChildCount(int32_t iNode) const;
    // The nearest ancestor that is not an array (what ".." reaches), -1 for none.
    int32_t Enclosing(int32_t iNode) const;
    // A scalar's JSON text ("\"Order\"", 3, true), empty for the others.
    std::string_view Scalar(int32_t iNode) const;
    // The RFC 6901 JSON pointer of a node, and the node of a pointer (-1).
    std::string PointerOf(int32_t iNode) const;
    int32_t Find(const std::string& iPointer) const;

    void AppendJson(std::string& ioOut) const;

private:
    enum Kind : uint8_t { kObject, kArray, kScalar };
    // Nodes a step of _scalarsBefore: a scalar's place in _scalars is summed
    // from its step's.
    static constexpr int32_t kScalarStep = 32;

    struct Reader;  // Of's visitor of the model

    ModelNodeTable() = default;
    // A node after those before it, under iParent; iKey: its member name's
    // number (KeyNumber), 0 for an element or the root; a scalar's text is
    // the iLength bytes of _scalars from iBefore, which every node before
    // it has.
    int32_t AddNode(int32_t iParent, uint32_t iKey, uint8_t iKind, size_t iBefore, size_t iLength);
    // 1 + the place of iName in _keys, where it is added when new.
    uint32_t KeyNumber(std::string_view iName);
    // A string scalar as its JSON text, at the end of _scalars.
    void AppendString(std::string_view iText);
    // The scalars' JSON texts, one after another.
    std::string_view Scalars() const { return std::string_view(_scalars.data(), _scalars.size()); }
    int32_t End(int32_t iNode) const { return iNode + static_cast<int32_t>(_endAfter[iNode]); }
    // The bytes of _scalars that the nodes before iNode have.
    size_t ScalarsBefore(int32_t iNode) const;
    // Ends the containers, from the parents; false when a node's parent is
    // not a container it could be in.
    bool Finish();
    // Once every node is in: the columns' wide numbers in order.
    void SortWide();

    std::vector<int32_t> _parent;
    EscapedColumn<uint8_t> _endAfter;  // how far on a node's descendants end: 1 for none
    EscapedColumn<uint16_t> _key;      // 0 for elements and the root, else 1 + a place in _keys
    std::deque<std::string> _keys;     // a deque: keyNumbers views them
    std::unordered_map<std::string_view, uint32_t> _keyNumbers;
    std::vector<uint8_t> _kind;
    EscapedColumn<uint8_t> _scalarLength;  // a scalar's bytes in _scalars, 0 for a container
    std::vector<uint32_t> _scalarsBefore;  // per kScalarStep nodes
    // Grown in place: a model's scalars are a million short appends.
    GrowingArray<char> _scalars;
    size_t _quotesAndBackslashes = 0;  // in _scalars: what the page escapes again
    // Places among siblings, and the elements of long arrays, made on first need.
    mutable std::vector<int32_t> _ordinal;
    mutable std::unordered_map<int32_t, std::vector<int32_t>> _elements;
};

#endif
