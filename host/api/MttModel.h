#ifndef MTTMODEL_H
#define MTTMODEL_H

#include <memory>
#include <string>

class JsonModel;
class MTLIModelObject;

namespace mtt {

// The language of a model's text.
enum class ModelFormat {
    kByName,  // YAML when the name ends in .yaml or .yml (any case), else JSON
    kJson,
    kYaml,
};

// A JSON or YAML document as a template model (names, paths, loop values and
// transforms as docs/transforms.md describes them). A YAML document is read
// as the JSON document with the same content (docs/host-guide.md says how
// its scalars, keys, anchors and tags map), so both read alike.
class Model {
public:
    // Null on failure, with oError "FILE:LINE:COLUMN: error: what" (columns
    // count bytes). FromText goes by iName as FromFile goes by the path, so
    // a "<stdin>" model is JSON unless iFormat says otherwise.
    static std::unique_ptr<Model> FromFile(const std::string& iPath, std::string& oError,
                                           ModelFormat iFormat = ModelFormat::kByName);
    static std::unique_ptr<Model> FromText(const std::string& iText, const std::string& iName, std::string& oError,
                                           ModelFormat iFormat = ModelFormat::kByName);
    // The format kByName picks for iName: kJson or kYaml.
    static ModelFormat FormatOf(const std::string& iName);
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    MTLIModelObject* Root();
    // The JSON pointer of an object of this model ("" for the root).
    std::string PointerOf(const MTLIModelObject* iObject) const;
    JsonModel& Json() { return *_json; }

private:
    explicit Model(std::unique_ptr<JsonModel> iJson);

    std::unique_ptr<JsonModel> _json;
};

}  // namespace mtt

#endif
