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
// or read off a tree; some ten bytes a leaf, where a tree takes several
// times that and must be freed.
class OutputShape final : public MTTIOutputListener {
public:
    // A leaf as it is asked for: an output has millions, kept in columns
    // (see below). Its statement is numbered among the shape's (a template
    // has few), its node is found by walking.
    struct Leaf {
        MTLIModelObject* object;
        uint32_t end;  // where its text ends in the text written; the previous leaf's end is its beginning
        uint32_t statementAndType;

        uint32_t Statement() const { return statementAndType >> 1; }
        MTTEvaluationOutputLeafType Type() const
        {
            return statementAndType & 1 ? MTTLeafUserCode : MTTLeafGeneratedText;
        }
    };
    // 12 bytes; its parent and its place among the parent's children follow
    // from the order and the counts (see Walk).
    struct Node {
        uint32_t statement;     // its number among the shape's statements
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
    size_t LeafCount() const { return _ends.size(); }
    Leaf LeafAt(size_t iLeaf) const { return Leaf{LeafObject(iLeaf), _ends[iLeaf], Code(iLeaf)}; }
    // A leaf's parts alone, where the others are not needed.
    uint32_t LeafEnd(size_t iLeaf) const { return _ends[iLeaf]; }
    uint32_t LeafStatement(size_t iLeaf) const { return Code(iLeaf) >> 1; }
    MTTEvaluationOutputLeafType LeafType(size_t iLeaf) const
    {
        return Code(iLeaf) & 1 ? MTTLeafUserCode : MTTLeafGeneratedText;
    }
    MTLIModelObject* LeafObject(size_t iLeaf) const
    {
        size_t run = _runOfBlock[iLeaf / kRunBlock];
        return LeafObject(iLeaf, run);
    }
    // The same for leaves asked for in order: ioRun (any number at first)
    // is where the last one's object was found, and the search goes on
    // from there.
    Leaf LeafAt(size_t iLeaf, size_t& ioRun) const { return Leaf{LeafObject(iLeaf, ioRun), _ends[iLeaf], Code(iLeaf)}; }
    MTLIModelObject* LeafObject(size_t iLeaf, size_t& ioRun) const
    {
        const size_t from = _runOfBlock[iLeaf / kRunBlock];
        if (ioRun < from || ioRun >= _runStarts.size() || _runStarts[ioRun] > iLeaf) ioRun = from;
        while (ioRun + 1 < _runStarts.size() && _runStarts[ioRun + 1] <= iLeaf) ++ioRun;
        return _runObjects[ioRun];
    }
    const std::vector<Node>& Nodes() const { return _nodes; }
    MTTIStatement* StatementOf(const Leaf& iLeaf) const { return _statements[iLeaf.Statement()]; }
    MTTIStatement* StatementOf(const Node& iNode) const { return _statements[iNode.statement]; }
    // The statements numbered, in the order they were first heard.
    size_t StatementCount() const { return _statements.size(); }
    MTTIStatement* Statement(uint32_t iNumber) const { return _statements[iNumber]; }
    // The leaves' texts end to end: where leaf iLeaf begins (the first
    // where the text was when the render began).
    size_t Begin(size_t iLeaf) const { return iLeaf == 0 ? _firstBegin : _ends[iLeaf - 1]; }

    // Nodes and leaves in the order of the tree (depth first):
    // iOnNode(node, parent, index) with its parent (-1 for none) and its
    // place among the parent's children, iOnLeaf(leaf, node) with the node
    // it hangs under (-1 for none: the tree was this leaf).
    template <class NodeVisit, class LeafVisit>
    void Walk(NodeVisit&& iOnNode, LeafVisit&& iOnLeaf) const;

    void OnNodeOpen(MTTIStatement* iStatement, MTLIModelObject* iModelObject) override;
    void OnLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject, MTTEvaluationOutputLeafType iType,
                size_t iBegin, size_t iEnd) override;
    void OnNodeClose() override;

private:
    // Leaves per entry of _runOfBlock: a leaf's object is found a few
    // steps from its block's.
    static constexpr size_t kRunBlock = 16;

    uint32_t Code(size_t iLeaf) const { return _wideCodes.empty() ? _codes[iLeaf] : _wideCodes[iLeaf]; }
    // Counts a child of the open node.
    void AddChild()
    {
        if (!_openNodes.empty()) ++_nodes[static_cast<size_t>(_openNodes.back())].children;
    }
    // The number of a statement, given one when it is new: looked up in a
    // small table of its own, probed from a mix of the address (statements
    // lie at regular distances).
    uint32_t Number(MTTIStatement* iStatement)
    {
        if (!_numbers.empty()) {
            const size_t mask = _numbers.size() - 1;
            for (size_t at = Slot(iStatement) & mask;; at = (at + 1) & mask) {
                const Known& known = _numbers[at];
                if (known.number == kFree) break;
                if (known.statement == iStatement) return known.number;
            }
        }
        return NumberOnce(iStatement);
    }
    static size_t Slot(MTTIStatement* iStatement)
    {
        return static_cast<size_t>((reinterpret_cast<uintptr_t>(iStatement) * 0x9E3779B97F4A7C15ull) >> 40);
    }
    uint32_t NumberOnce(MTTIStatement* iStatement);
    // Puts statement iNumber in the table, which has room.
    void Place(uint32_t iNumber);
    // The table made anew, for the first iStatements numbers.
    void Rehash(size_t iStatements);

    // The leaves, a column a part: where each ends; its statement and type
    // (statementAndType) in two bytes while every one fits, else all in
    // four; and its object, the same for runs of leaves (the element a
    // loop is at), so kept a run at a time, with the run of every
    // kRunBlock-th leaf.
    std::vector<uint32_t> _ends;
    std::vector<uint16_t> _codes;
    std::vector<uint32_t> _wideCodes;
    std::vector<uint32_t> _runStarts;  // each run's first leaf
    std::vector<MTLIModelObject*> _runObjects;
    std::vector<uint32_t> _runOfBlock;
    std::vector<Node> _nodes;
    std::vector<MTTIStatement*> _statements;
    struct Known {
        MTTIStatement* statement;
        uint32_t number;
    };
    static constexpr uint32_t kFree = ~uint32_t(0);
    std::vector<Known> _numbers;  // at most half full
    // The open nodes, innermost last.
    std::vector<int32_t> _openNodes;
    uint32_t _firstBegin = 0;
};

template <class NodeVisit, class LeafVisit>
void OutputShape::Walk(NodeVisit&& iOnNode, LeafVisit&& iOnLeaf) const
{
    // Preorder and each node's count of children tell the tree: a node
    // is open until it has met them all.
    struct Open {
        int32_t node;
        int32_t seen;
        int32_t children;
    };
    std::vector<Open> open;
    const auto closeFinished = [&open] {
        while (!open.empty() && open.back().seen >= open.back().children) open.pop_back();
    };
    size_t next = 0;
    for (size_t leaf = 0;; ++leaf) {
        for (; next < _nodes.size() && _nodes[next].leavesBefore <= leaf; ++next) {
            int32_t parent = -1, index = 0;
            if (!open.empty()) {
                parent = open.back().node;
                index = open.back().seen++;
            }
            iOnNode(next, parent, index);
            open.push_back(Open{static_cast<int32_t>(next), 0, _nodes[next].children});
            closeFinished();
        }
        if (leaf == _ends.size()) break;
        int32_t node = -1;
        if (!open.empty()) {
            node = open.back().node;
            ++open.back().seen;
        }
        iOnLeaf(leaf, node);
        closeFinished();
    }
}

}  // namespace mtt

#endif
