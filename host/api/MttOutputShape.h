#ifndef MTTOUTPUTSHAPE_H
#define MTTOUTPUTSHAPE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "MTTIOutputListener.h"

class MTTEvaluationOutput;

namespace mtt {

// What an output tree tells of its text, without the tree: which directive
// and model object wrote each piece of it (a leaf), and the nodes above
// the pieces. Recorded as the text is written (it hears MTTEvaluateText),
// or read off a tree; a few tens of bytes a leaf, where a tree takes
// several times that and must be freed.
class OutputShape final : public MTTIOutputListener {
public:
    struct Leaf {
        MTTIStatement* statement;
        MTLIModelObject* object;
        uint32_t end;  // where its text ends in the text written; the previous leaf's end is its beginning
        // The node above it (-1 for none: the tree was this leaf), and its type.
        int32_t Node() const { return static_cast<int32_t>(nodeAndType >> 1) - 1; }
        MTTEvaluationOutputLeafType Type() const { return nodeAndType & 1 ? MTTLeafUserCode : MTTLeafGeneratedText; }

        uint32_t nodeAndType;
    };
    struct Node {
        MTTIStatement* statement;
        int32_t parent;         // -1 for the root
        int32_t index;          // its place among its parent's children
        int32_t children;       // nodes and leaves
        uint32_t leavesBefore;  // how many leaves came before it opened: its place among them
    };

    // The shape of the tree under iRoot (null: an empty one), and its text
    // appended to ioText. Throws std::length_error past 4 GiB of text.
    static OutputShape Of(MTTEvaluationOutput* iRoot, std::string& ioText);

    // Room for the shape of a text of about iTextBytes, taken at once
    // rather than grown by copies; address space, not memory, until used.
    void Reserve(size_t iTextBytes);
    // Empty, with its room kept for the next render.
    void Clear();

    // Leaves in text order; nodes in the order they open, a parent before
    // its children.
    const std::vector<Leaf>& Leaves() const { return _leaves; }
    const std::vector<Node>& Nodes() const { return _nodes; }
    // The leaves' texts end to end: where leaf iLeaf begins (the first
    // where the text was when the render began).
    size_t Begin(size_t iLeaf) const { return iLeaf == 0 ? _firstBegin : _leaves[iLeaf - 1].end; }

    void OnNodeOpen(MTTIStatement* iStatement, MTLIModelObject* iModelObject) override;
    void OnLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject, MTTEvaluationOutputLeafType iType,
                size_t iBegin, size_t iEnd) override;
    void OnNodeClose() override;

private:
    // Counts a child of the open node; its place there.
    int32_t AddChild();

    std::vector<Leaf> _leaves;
    std::vector<Node> _nodes;
    int32_t _open = -1;  // the innermost open node
    uint32_t _firstBegin = 0;
};

}  // namespace mtt

#endif
