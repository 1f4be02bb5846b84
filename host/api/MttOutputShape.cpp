#include "MttOutputShape.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIEvaluationOutputVisitor.h"

namespace mtt {

namespace {

// Tells a shape what a tree holds, depth first, with a stack of its own:
// output may nest too deeply for recursion.
class TreeReader final : public MTTIEvaluationOutputVisitor {
public:
    TreeReader(OutputShape& ioShape, std::string& ioText) : _shape(ioShape), _text(ioText) {}

    void Read(MTTEvaluationOutput* iRoot)
    {
        if (iRoot != nullptr) _pending.push_back(Pending{iRoot});
        while (!_pending.empty()) {
            const Pending next = _pending.back();
            _pending.pop_back();
            if (next.output == nullptr) {
                _shape.OnNodeClose();
            } else {
                next.output->Accept(this);
            }
        }
    }

    long VisitOutputNode(MTTEvaluationOutputNode* iNode) override
    {
        _shape.OnNodeOpen(iNode->GetStatement(), iNode->GetModelObject());
        _pending.push_back(Pending{nullptr});  // its end
        // Last child first, so that the first child is taken next.
        for (int i = iNode->GetChildCount() - 1; i >= 0; --i) {
            if (MTTEvaluationOutput* child = iNode->GetChild(i)) _pending.push_back(Pending{child});
        }
        return S_OK;
    }

    long VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf) override
    {
        const size_t begin = _text.size();
        _text.append(iLeaf->Text().ConvertToChar(), iLeaf->Text().Length());
        if (_text.size() > std::numeric_limits<uint32_t>::max()) {
            throw std::length_error("an output of more than 4 GiB");
        }
        _shape.OnLeaf(iLeaf->GetStatement(), iLeaf->GetModelObject(), iLeaf->GetLeafType(), begin, _text.size());
        return S_OK;
    }

private:
    struct Pending {
        MTTEvaluationOutput* output;  // null: the end of a node
    };

    OutputShape& _shape;
    std::string& _text;
    std::vector<Pending> _pending;
};

}  // namespace

OutputShape OutputShape::Of(MTTEvaluationOutput* iRoot, std::string& ioText)
{
    OutputShape shape;
    TreeReader(shape, ioText).Read(iRoot);
    return shape;
}

void OutputShape::Reserve(size_t iTextBytes)
{
    // Generated code has a leaf every few bytes and a node every ten or so
    // (the reference output: 3.7 and 9); a larger shape grows past it.
    const size_t kMostLeaves = size_t(4) << 20;
    const size_t leaves = std::min(iTextBytes / 3, kMostLeaves);
    _leaves.reserve(leaves);
    _nodes.reserve(leaves / 2);
}

void OutputShape::Clear()
{
    _leaves.clear();
    _nodes.clear();
    _open = -1;
    _firstBegin = 0;
}

int32_t OutputShape::AddChild()
{
    return _open < 0 ? 0 : _nodes[_open].children++;
}

void OutputShape::OnNodeOpen(MTTIStatement* iStatement, MTLIModelObject*)
{
    const int32_t index = AddChild();
    _nodes.push_back(Node{iStatement, _open, index, 0, static_cast<uint32_t>(_leaves.size())});
    _open = static_cast<int32_t>(_nodes.size() - 1);
}

void OutputShape::OnLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject, MTTEvaluationOutputLeafType iType,
                         size_t iBegin, size_t iEnd)
{
    if (_leaves.empty()) _firstBegin = static_cast<uint32_t>(iBegin);
    AddChild();
    const uint32_t node = static_cast<uint32_t>(_open + 1);
    _leaves.push_back(
        Leaf{iStatement, iModelObject, static_cast<uint32_t>(iEnd), node << 1 | (iType == MTTLeafUserCode ? 1u : 0u)});
}

void OutputShape::OnNodeClose()
{
    if (_open >= 0) _open = _nodes[_open].parent;
}

}  // namespace mtt
