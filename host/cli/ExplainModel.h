#ifndef EXPLAINMODEL_H
#define EXPLAINMODEL_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class JsonModel;
class ModelNodeTable;

// What the explain page shows of a model: its node table, the node of each
// of the model's values, and the table as the page writes it. It depends on
// the model alone, so a run makes it once, beside the evaluation (on the
// second core), and every page of the run shares it.
class ExplainModel {
public:
    // Safe while the model is evaluated on another thread (see
    // JsonModel::Visit).
    static std::unique_ptr<ExplainModel> Of(const JsonModel& iModel);
    ~ExplainModel();

    // Null for an empty document.
    const ModelNodeTable* Nodes() const { return _nodes.get(); }
    // The node that stands for the value in a model slot, -1 for none.
    int32_t NodeOfSlot(uint32_t iSlot) const { return iSlot < _nodeOfSlot.size() ? _nodeOfSlot[iSlot] : -1; }
    // The page's "model": the table's JSON, or null.
    const std::string& Json() const { return _json; }
    // Once the run's pages have placed their outputs' pieces: the table
    // and the slots' nodes are let go of (Nodes() is null then), the JSON
    // is kept.
    void LetGoOfNodes();

private:
    ExplainModel() = default;

    std::unique_ptr<ModelNodeTable> _nodes;
    std::vector<int32_t> _nodeOfSlot;
    std::string _json = "null";
};

#endif
