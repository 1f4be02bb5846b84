#include "JsonModel.h"

#include <algorithm>
#include <vector>

#include <nlohmann/json.hpp>

#include "JsonModelObject.h"
#include "YamlReader.h"
#include "mtt_json_builder.h"
#include "mtt_json_values.h"
#include "mtt_value_ref_cache.h"

const char* const JsonModel::kUnknownPointer = "<unknown>";

JsonModel::JsonModel(std::unique_ptr<nlohmann::json> iDocument)
    : _document(std::move(iDocument)), _refs(new mtt_runtime::ValueRefCache())
{
}

JsonModel::~JsonModel() {}

std::unique_ptr<JsonModel> JsonModel::LoadFile(const std::string& iPath, std::string& oError)
{
    std::string text;
    if (!mtt_runtime::ReadFile(iPath, text, oError)) return nullptr;
    return FromText(text, iPath, oError);
}

std::unique_ptr<JsonModel> JsonModel::FromText(const std::string& iText, const std::string& iName, std::string& oError)
{
    std::unique_ptr<nlohmann::json> document(new nlohmann::json());
    if (!mtt_runtime::ParseJson(iText, iName, *document, oError)) return nullptr;
    return Made(std::move(document), iText.size());
}

std::unique_ptr<JsonModel> JsonModel::FromYamlText(const std::string& iText, const std::string& iName,
                                                   std::string& oError)
{
    std::unique_ptr<nlohmann::json> document(new nlohmann::json());
    if (!YamlReader::Read(iText, iName, *document, oError)) return nullptr;
    return Made(std::move(document), iText.size());
}

std::unique_ptr<JsonModel> JsonModel::Made(std::unique_ptr<nlohmann::json> iDocument, size_t iTextSize)
{
    std::unique_ptr<JsonModel> model(new JsonModel(std::move(iDocument)));
    // About one object per 32 bytes of text (a member and its value): the
    // table of objects then grows without rehashing every few thousand.
    model->_objects.reserve(iTextSize / 32);
    return model;
}

MTLIModelObject* JsonModel::Root()
{
    return ObjectFor(*_document, nullptr, std::string());
}

JsonModelObject* JsonModel::ObjectFor(const nlohmann::json& iNode, JsonModelObject* iParent, std::string_view iToken)
{
    std::unique_ptr<JsonModelObject>& slot = _objects[&iNode];
    if (!slot) slot.reset(new JsonModelObject(*this, iNode, iParent, std::string(iToken)));
    return slot.get();
}

void JsonModel::SetUserCodeSource(UserCodeSource iSource)
{
    _userCodeSource = std::move(iSource);
}

JsonModelObject* JsonModel::UserCodeOf(JsonModelObject& iOwner)
{
    JsonModelObject*& slot = _userCode[&iOwner];
    if (slot != nullptr) return slot;
    const nlohmann::json* node = &mtt_runtime::JsonValues::UserCodeMember(iOwner.Node());
    std::string text;
    const bool given = _userCodeSource && _userCodeSource(iOwner, text);
    // The empty answer is one node shared by all owners, but every owner
    // needs an object of its own (objects know their parent): copy it.
    if (given || node != mtt_runtime::Member(&iOwner.Node(), "UserCode")) {
        _userCodeNodes.emplace_back(new nlohmann::json(given ? std::move(text) : std::string()));
        node = _userCodeNodes.back().get();
    }
    slot = ObjectFor(*node, &iOwner, "UserCode");
    return slot;
}

const mtt_runtime::ValueRef& JsonModel::RefFor(std::string_view iText)
{
    return _refs->Get(iText);
}

std::string JsonModel::PointerOf(const MTLIModelObject* iObject) const
{
    const JsonModelObject* object = dynamic_cast<const JsonModelObject*>(iObject);
    if (object == nullptr) return kUnknownPointer;
    auto found = _objects.find(&object->Node());
    // The objects of a loop's selection stand for a node of this model too.
    if (found == _objects.end()) return kUnknownPointer;
    return object->Pointer();
}
