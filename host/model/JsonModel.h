#ifndef JSONMODEL_H
#define JSONMODEL_H

#include <memory>
#include <string>
#include <unordered_map>

#include <nlohmann/json_fwd.hpp>

class MTLIModelObject;
class JsonModelObject;

// A JSON document seen as a template model.
//
// Every JSON node is one model object:
//   - an array is a list (kind 1): GetSize, and GetElement counted from 0
//     (null out of range);
//   - a string, number, boolean or null is a scalar (kind 2) whose own text
//     (GetValue(nullptr)) is the string as it is (cut at a \u0000), the
//     number as JSON writes it (3, -2, 1.5, 10000000000.0, 1e+20), "true" or
//     "false", and the empty text for null;
//   - an object is neither (kind 0): GetProperty gives the member of that
//     name, GetValue(name) the text of a scalar member.
// GetProperty on anything but an object, or of a missing member, is null;
// GetValue(name) of a missing or non-scalar member, or on anything but an
// object, is the empty text; GetValue(nullptr) of a non-scalar is empty.
//
// Model objects are made on first use, one per node, and live, at fixed
// addresses, as long as the JsonModel. Nesting depth has no limit of its own:
// the document is built and released without recursion.
class JsonModel {
public:
    // What PointerOf answers for an object this model did not hand out; a
    // JSON pointer is either empty or begins with "/", so it cannot clash.
    static const char* const kUnknownPointer;

    // Null on failure, with oError = "FILE:LINE:COLUMN: error: <what>" (no
    // line end); a file that cannot be read gives "FILE: error: cannot open: <reason>".
    static std::unique_ptr<JsonModel> LoadFile(const std::string& iPath, std::string& oError);
    static std::unique_ptr<JsonModel> FromText(const std::string& iText, const std::string& iName, std::string& oError);

    ~JsonModel();
    JsonModel(const JsonModel&) = delete;
    JsonModel& operator=(const JsonModel&) = delete;

    // Lives as long as this model.
    MTLIModelObject* Root();

    // RFC 6901 pointer of an object handed out by this model ("" for the
    // root, "/classes/0/name"; "~" and "/" in names become "~0" and "~1"),
    // or kUnknownPointer.
    std::string PointerOf(const MTLIModelObject* iObject) const;

    // The object for iNode, a node of this document reached from iParent by
    // the member name or element number iToken; made on first request.
    JsonModelObject* ObjectFor(const nlohmann::json& iNode, const JsonModelObject* iParent, const std::string& iToken);

private:
    explicit JsonModel(std::unique_ptr<nlohmann::json> iDocument);

    std::unique_ptr<nlohmann::json> _document;
    std::unordered_map<const nlohmann::json*, std::unique_ptr<JsonModelObject>> _objects;
};

#endif
