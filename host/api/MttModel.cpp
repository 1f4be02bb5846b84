#include "MttModel.h"

#include <cctype>

#include "JsonModel.h"

namespace mtt {

Model::Model(std::unique_ptr<JsonModel> iJson) : _json(std::move(iJson)) {}

Model::~Model() {}

std::unique_ptr<Model> Model::FromFile(const std::string& iPath, std::string& oError, ModelFormat iFormat)
{
    if (iFormat == ModelFormat::kByName) iFormat = FormatOf(iPath);
    // Read from the file in chunks as it is parsed.
    std::unique_ptr<JsonModel> json =
        iFormat == ModelFormat::kYaml ? JsonModel::LoadYamlFile(iPath, oError) : JsonModel::LoadFile(iPath, oError);
    return json ? std::unique_ptr<Model>(new Model(std::move(json))) : nullptr;
}

std::unique_ptr<Model> Model::FromText(const std::string& iText, const std::string& iName, std::string& oError,
                                       ModelFormat iFormat)
{
    if (iFormat == ModelFormat::kByName) iFormat = FormatOf(iName);
    std::unique_ptr<JsonModel> json = iFormat == ModelFormat::kYaml ? JsonModel::FromYamlText(iText, iName, oError)
                                                                    : JsonModel::FromText(iText, iName, oError);
    return json ? std::unique_ptr<Model>(new Model(std::move(json))) : nullptr;
}

ModelFormat Model::FormatOf(const std::string& iName)
{
    const size_t dot = iName.find_last_of("./");
    std::string extension = dot == std::string::npos || iName[dot] != '.' ? std::string() : iName.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "yaml" || extension == "yml" ? ModelFormat::kYaml : ModelFormat::kJson;
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
