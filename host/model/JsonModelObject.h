#ifndef JSONMODELOBJECT_H
#define JSONMODELOBJECT_H

#include <string>

#include <nlohmann/json_fwd.hpp>

#include "MTLIModelObject.h"

class JsonModel;

// One node of a JsonModel's document (see JsonModel for kinds and texts).
// It remembers its parent and the member name or element number that leads
// to it, from which JsonModel::PointerOf rebuilds its JSON pointer.
class JsonModelObject : public MTLIModelObject {
public:
    JsonModelObject(JsonModel& iModel, const nlohmann::json& iNode, const JsonModelObject* iParent, std::string iToken);
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
    JsonModel& _model;
    const nlohmann::json& _node;
    const JsonModelObject* _parent;
    std::string _token;
};

#endif
