#ifndef MTTMODEL_H
#define MTTMODEL_H

#include <memory>
#include <string>

class JsonModel;
class MTLIModelObject;

namespace mtt {

// A JSON document as a template model (names, paths, loop values and
// transforms as docs/transforms.md describes them).
class Model {
public:
    // Null on failure, with oError "FILE:LINE:COLUMN: error: what".
    static std::unique_ptr<Model> FromFile(const std::string& iPath, std::string& oError);
    static std::unique_ptr<Model> FromText(const std::string& iJson, const std::string& iName, std::string& oError);
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
