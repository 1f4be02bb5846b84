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
    const size_t kMostLeaves = size_t(6) << 20;
    const size_t leaves = std::min(iTextBytes / 3, kMostLeaves);
    _ends.reserve(leaves);
    _codes.reserve(leaves);
    _runStarts.reserve(leaves / 4);
    _runObjects.reserve(leaves / 4);
    _runOfBlock.reserve(leaves / kRunBlock + 1);
    _nodes.reserve(leaves / 2);
}

void OutputShape::Clear()
{
    _ends.clear();
    _codes.clear();
    _wideCodes.clear();
    _runStarts.clear();
    _runObjects.clear();
    _runOfBlock.clear();
    _nodes.clear();
    _openNodes.clear();
    _firstBegin = 0;
}

uint32_t OutputShape::NumberOnce(MTTIStatement* iStatement)
{
    if (_numbers.empty() && !_statements.empty()) {
        // Let go of when a tree was whole; made again from the numbers given.
        Rehash(_statements.size());
        return Number(iStatement);
    }
    if (_statements.size() >= (uint32_t(1) << 31)) throw std::length_error("an output of too many statements");
    _statements.push_back(iStatement);
    const uint32_t number = static_cast<uint32_t>(_statements.size() - 1);
    if (_statements.size() * 2 <= _numbers.size()) {
        Place(number);
        return number;
    }
    Rehash(_statements.size());
    return number;
}

void OutputShape::Rehash(size_t iStatements)
{
    size_t size = 16;
    while (size < 2 * iStatements) size *= 2;
    _numbers.assign(size, Known{nullptr, kFree});
    for (uint32_t i = 0; i < iStatements; ++i) Place(i);
}

void OutputShape::Place(uint32_t iNumber)
{
    const size_t mask = _numbers.size() - 1;
    size_t at = Slot(_statements[iNumber]) & mask;
    while (_numbers[at].number != kFree) at = (at + 1) & mask;
    _numbers[at] = Known{_statements[iNumber], iNumber};
}

void OutputShape::OnNodeOpen(MTTIStatement* iStatement, MTLIModelObject*)
{
    AddChild();
    _nodes.push_back(Node{Number(iStatement), 0, static_cast<uint32_t>(_ends.size())});
    _openNodes.push_back(static_cast<int32_t>(_nodes.size() - 1));
}

void OutputShape::OnLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject, MTTEvaluationOutputLeafType iType,
                         size_t iBegin, size_t iEnd)
{
    const size_t leaf = _ends.size();
    if (leaf == 0) _firstBegin = static_cast<uint32_t>(iBegin);
    if (leaf == std::numeric_limits<uint32_t>::max()) throw std::length_error("an output of too many pieces");
    AddChild();
    if (_runObjects.empty() || _runObjects.back() != iModelObject) {
        _runStarts.push_back(static_cast<uint32_t>(leaf));
        _runObjects.push_back(iModelObject);
    }
    if (leaf % kRunBlock == 0) _runOfBlock.push_back(static_cast<uint32_t>(_runStarts.size() - 1));
    _ends.push_back(static_cast<uint32_t>(iEnd));
    const uint32_t code = Number(iStatement) << 1 | (iType == MTTLeafUserCode ? 1u : 0u);
    if (!_wideCodes.empty()) {
        _wideCodes.push_back(code);
    } else if (code <= std::numeric_limits<uint16_t>::max()) {
        _codes.push_back(static_cast<uint16_t>(code));
    } else {
        // A statement numbered past what two bytes hold: every leaf's code
        // in four from now on.
        _wideCodes.assign(_codes.begin(), _codes.end());
        std::vector<uint16_t>().swap(_codes);
        _wideCodes.push_back(code);
    }
}

void OutputShape::OnNodeClose()
{
    if (_openNodes.empty()) return;
    _openNodes.pop_back();
    if (_openNodes.empty()) {
        // The tree is whole: what numbered its statements and the stack are
        // not needed to read it (a run of many small files keeps a shape
        // each).
        std::vector<Known>().swap(_numbers);
        std::vector<int32_t>().swap(_openNodes);
    }
}

}  // namespace mtt
