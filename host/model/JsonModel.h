#ifndef JSONMODEL_H
#define JSONMODEL_H

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <nlohmann/json_fwd.hpp>

class MTLIModelObject;
class JsonModelObject;
namespace mtt_runtime {
class ValueRef;
class ValueRefCache;
}  // namespace mtt_runtime

// A JSON document seen as a template model.
//
// Every JSON node is one model object:
//   - an array is a list (kind 1): GetSize, and GetElement counted from 0
//     (null out of range);
//   - a string, number, boolean or null is a scalar (kind 2) whose own text
//     (GetValue(nullptr)) is the string as it is (a string holding a \u0000
//     is refused when loading), the number as JSON writes it (3, -2, 1.5, 10000000000.0, 1e+20), "true" or
//     "false", and the empty text for null;
//   - an object is neither (kind 0).
// GetProperty takes one path element (host/runtime/mtt_path_element.h): a
// member of an object, ".." (the enclosing object), an index of an array,
// or "UserCode" of an object, which is never null (see SetUserCodeSource);
// anything else, or what is missing, is null. GetValue(name) takes a value
// reference (host/runtime/mtt_value_ref.h): the text of a scalar member, "."
// for the object's own text, "@index" and the other loop positions, with
// transforms; what is missing or not scalar reads as the empty text.
// GetValue(nullptr) is the object's own text (empty for a non-scalar). The
// generated code's runtime (host/runtime/mtt_runtime.h) answers the same
// names with the same texts.
//
// Model objects are made on first use, one per node, and live, at fixed
// addresses, as long as the JsonModel. Nesting depth has no limit of its own
// (a YAML text has one, see YamlReader): the document is built and released
// without recursion.
class JsonModel {
public:
    // What PointerOf answers for an object this model did not hand out; a
    // JSON pointer is either empty or begins with "/", so it cannot clash.
    static const char* const kUnknownPointer;

    // Null on failure, with oError = "FILE:LINE:COLUMN: error: <what>" (no
    // line end); a file that cannot be read gives "FILE: error: cannot open: <reason>".
    static std::unique_ptr<JsonModel> LoadFile(const std::string& iPath, std::string& oError);
    static std::unique_ptr<JsonModel> FromText(const std::string& iText, const std::string& iName, std::string& oError);
    // The same document written in YAML (YamlReader says how it maps to JSON).
    static std::unique_ptr<JsonModel> FromYamlText(const std::string& iText, const std::string& iName,
                                                   std::string& oError);

    // Gives the user code of an owner object: true with oText to use oText.
    using UserCodeSource = std::function<bool(const JsonModelObject& iOwner, std::string& oText)>;

    ~JsonModel();
    JsonModel(const JsonModel&) = delete;
    JsonModel& operator=(const JsonModel&) = delete;

    // Lives as long as this model.
    MTLIModelObject* Root();

    // RFC 6901 pointer of an object handed out by this model ("" for the
    // root, "/classes/0/name"; "~" and "/" in names become "~0" and "~1"),
    // or kUnknownPointer.
    std::string PointerOf(const MTLIModelObject* iObject) const;

    // What GetProperty("UserCode") answers on an object: the text iSource
    // gives for it, else its own "UserCode" member when that is a scalar,
    // else the empty text. Optional; set it before the first evaluation: an
    // object keeps the answer it gave first.
    void SetUserCodeSource(UserCodeSource iSource);

    // The object for iNode, a node of this document reached from iParent by
    // the member name or element number iToken; made on first request.
    JsonModelObject* ObjectFor(const nlohmann::json& iNode, JsonModelObject* iParent, std::string_view iToken);
    // The scalar that answers "UserCode" on the object iOwner; made once.
    JsonModelObject* UserCodeOf(JsonModelObject& iOwner);
    // iText parsed as a value reference; parsed once.
    const mtt_runtime::ValueRef& RefFor(std::string_view iText);

private:
    explicit JsonModel(std::unique_ptr<nlohmann::json> iDocument);
    static std::unique_ptr<JsonModel> Made(std::unique_ptr<nlohmann::json> iDocument, size_t iTextSize);

    std::unique_ptr<nlohmann::json> _document;
    // Nodes made for user code, outside the document, at fixed addresses.
    std::vector<std::unique_ptr<nlohmann::json>> _userCodeNodes;
    std::unordered_map<const nlohmann::json*, std::unique_ptr<JsonModelObject>> _objects;
    UserCodeSource _userCodeSource;
    std::unordered_map<const JsonModelObject*, JsonModelObject*> _userCode;
    std::unique_ptr<mtt_runtime::ValueRefCache> _refs;
};

#endif
