#ifndef JSONMODELOBJECT_H
#define JSONMODELOBJECT_H

#include <string>

#include <nlohmann/json_fwd.hpp>

#include "MTLIModelObject.h"

class JsonModel;

// One node of a JsonModel's document (see JsonModel for kinds, names and
// texts). It remembers its parent and the member name or element number that
// leads to it, from which JsonModel::PointerOf rebuilds its JSON pointer and
// the loop positions and ".." are found.
class JsonModelObject : public MTLIModelObject {
public:
    JsonModelObject(JsonModel& iModel, const nlohmann::json& iNode, JsonModelObject* iParent, std::string iToken);
    ~JsonModelObject() override;

    int GetKind() override;
    MTLIModelObject* GetProperty(const MTTString& iName) override;
    int GetSize() override;
    MTLIModelObject* GetElement(int iIndex) override;
    MTTString GetValue(const char* iName) override;

    const nlohmann::json& Node() const { return _node; }
    const JsonModelObject* Parent() const { return _parent; }
    const std::string& Token() const { return _token; }

private:
    // The nearest ancestor that is not an array; null for the root.
    JsonModelObject* Enclosing() const;

    JsonModel& _model;
    const nlohmann::json& _node;
    JsonModelObject* _parent;
    std::string _token;
};

#endif
