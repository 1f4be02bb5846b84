#ifndef JSONMODELOBJECT_H
#define JSONMODELOBJECT_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "MTLIModelObject.h"

class JsonModel;
class JsonModelSelection;
namespace mtt_runtime {
class Value;
class ValueRef;
}  // namespace mtt_runtime

// One node of a JsonModel's document (see JsonModel for kinds, names and
// texts). It remembers its parent and the member name or element number that
// leads to it, from which JsonModel::PointerOf rebuilds its JSON pointer and
// the loop positions and ".." are found.
//
// It also answers what the template parser hands the model for expressions
// (host/runtime/mtt_value_ref.h): a value "=EXPRESSION", a path element
// "?EXPRESSION" (this object when the expression is true on it) and, on a
// list, a path element "*SELECTION" (a view of the list: JsonModelSelection).
// A problem with them (a text where a number is needed, ...) is reported
// through the library, for the property that asked, and reads as the empty
// text or as nothing.
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
    // Its RFC 6901 JSON pointer, from the tokens of its ancestors ("" for
    // the root).
    std::string Pointer() const;

    // What iRef reads on this object, with its kind; oProblem says what
    // went wrong with an expression.
    mtt_runtime::Value Read(const mtt_runtime::ValueRef& iRef, std::string& oProblem);

private:
    class At;

    // The nearest ancestor that is not an array; null for the root.
    JsonModelObject* Enclosing() const;
    // The object that answers for this one: itself, or for an element of a
    // view the list's own object.
    JsonModelObject& Original();
    MTLIModelObject* Test(const mtt_runtime::ValueRef& iRef);
    MTLIModelObject* View(const std::string& iText, const mtt_runtime::ValueRef& iRef);
    static void Report(const std::string& iProblem);

    JsonModel& _model;
    const nlohmann::json& _node;
    JsonModelObject* _parent;
    std::string _token;
    std::unique_ptr<JsonModelSelection> _selection;
};

#endif
