#include "ExplainModel.h"

#include "JsonModel.h"
#include "ModelNodeTable.h"

std::unique_ptr<ExplainModel> ExplainModel::Of(const JsonModel& iModel)
{
    std::unique_ptr<ExplainModel> made(new ExplainModel());
    std::vector<uint32_t> slots;
    ModelNodeTable read = ModelNodeTable::Of(iModel, &slots);
    if (read.Size() == 0) return made;
    made->_nodes.reset(new ModelNodeTable(std::move(read)));
    // Node i stands for the value in slots[i]; the document's values have
    // the slots from 0 up. The slots go before the JSON is made.
    made->_nodeOfSlot.assign(slots.size(), -1);
    for (size_t node = 0; node < slots.size(); ++node) {
        if (slots[node] < made->_nodeOfSlot.size()) made->_nodeOfSlot[slots[node]] = static_cast<int32_t>(node);
    }
    std::vector<uint32_t>().swap(slots);
    made->_json.clear();
    made->_nodes->AppendJson(made->_json);
    return made;
}

void ExplainModel::LetGoOfNodes()
{
    _nodes.reset();
    std::vector<int32_t>().swap(_nodeOfSlot);
}

ExplainModel::~ExplainModel() {}
