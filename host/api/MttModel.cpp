#include "MttModel.h"

#include "JsonModel.h"

namespace mtt {

Model::Model(std::unique_ptr<JsonModel> iJson) : _json(std::move(iJson)) {}

Model::~Model() {}

std::unique_ptr<Model> Model::FromFile(const std::string& iPath, std::string& oError)
{
    std::unique_ptr<JsonModel> json = JsonModel::LoadFile(iPath, oError);
    return json ? std::unique_ptr<Model>(new Model(std::move(json))) : nullptr;
}

std::unique_ptr<Model> Model::FromText(const std::string& iJson, const std::string& iName, std::string& oError)
{
    std::unique_ptr<JsonModel> json = JsonModel::FromText(iJson, iName, oError);
    return json ? std::unique_ptr<Model>(new Model(std::move(json))) : nullptr;
}

MTLIModelObject* Model::Root()
{
    return _json->Root();
}

std::string Model::PointerOf(const MTLIModelObject* iObject) const
{
    return _json->PointerOf(iObject);
}

}  // namespace mtt
