#ifndef MTT_JSON_BUILDER_H
#define MTT_JSON_BUILDER_H

// JSON reading shared by the run-time model (mtt_runtime.h) and the host's
// JSON model adapter, so that both read the same documents, report the same
// errors and give the same texts. Header-only, C++17, needs nlohmann/json.hpp.

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "mtt_json_error.h"

namespace mtt_runtime {

using Json = nlohmann::json;

// The text a scalar node reads as; "" for arrays and objects.
inline std::string ScalarText(const Json& iNode)
{
    switch (iNode.type()) {
    case Json::value_t::string: {
        const std::string& text = iNode.get_ref<const std::string&>();
        return text.substr(0, text.find('\0'));
    }
    case Json::value_t::boolean: return iNode.get<bool>() ? "true" : "false";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float: return iNode.dump();
    default: return std::string();
    }
}

inline bool IsScalar(const Json& iNode)
{
    return iNode.is_string() || iNode.is_number() || iNode.is_boolean() || iNode.is_null();
}

// Member iName of an object node; null when missing or iNode is no object.
inline const Json* Member(const Json* iNode, std::string_view iName)
{
    if (iNode == nullptr || !iNode->is_object()) return nullptr;
    const Json::object_t& members = iNode->get_ref<const Json::object_t&>();
#if NLOHMANN_JSON_VERSION_MAJOR > 3 || (NLOHMANN_JSON_VERSION_MAJOR == 3 && NLOHMANN_JSON_VERSION_MINOR >= 11)
    auto found = members.find(iName);  // a transparent comparator: no copy of the name
#else
    auto found = members.find(std::string(iName));
#endif
    return found == members.end() ? nullptr : &found->second;
}

// "NAME:LINE:COLUMN: error: " for the byte at iIndex (0-based) of iText.
inline std::string ErrorPrefix(const std::string& iName, const std::string& iText, std::size_t iIndex)
{
    return iName + ":" + LineColumnOf(iText, iIndex) + ": error: ";
}

// Builds the document from parser events with an explicit stack, so that
// nesting depth costs heap, not call stack, and records where parsing failed.
// It stops at a string holding a NUL (model texts end at one) and at a
// repeated member name (one of the two would be lost), naming the string.
class JsonBuilder {
public:
    explicit JsonBuilder(Json& oDocument)
        : _document(oDocument),
          _failed(false),
          _position(0),
          _strings(0),
          _keyString(0),
          _refused(nullptr),
          _refusedString(0)
    {
    }

    bool null() { return Add(Json(nullptr)); }
    bool boolean(bool iValue) { return Add(Json(iValue)); }
    bool number_integer(Json::number_integer_t iValue) { return Add(Json(iValue)); }
    bool number_unsigned(Json::number_unsigned_t iValue) { return Add(Json(iValue)); }
    bool number_float(Json::number_float_t iValue, const std::string&) { return Add(Json(iValue)); }
    bool string(std::string& iValue)
    {
        return Counted(iValue, JsonSyntaxError::kNulInString) && Add(Json(std::move(iValue)));
    }
    bool binary(Json::binary_t& iValue) { return Add(Json::binary(std::move(iValue))); }
    bool start_object(std::size_t) { return Open(Json::object()); }
    bool start_array(std::size_t) { return Open(Json::array()); }
    bool key(std::string& iKey)
    {
        _keyString = _strings;
        if (!Counted(iKey, JsonSyntaxError::kNulInName)) return false;
        _key = std::move(iKey);
        return true;
    }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }
    template <class Exception>
    bool parse_error(std::size_t iPosition, const std::string&, const Exception& iError)
    {
        _failed = true;
        _position = iPosition;
        _message = iError.what();
        return false;
    }

    bool Failed() const { return _failed; }
    // Why the builder stopped the parse (null when it did not), and the
    // number of the string it stopped at (from 0, member names included).
    const char* Refused() const { return _refused; }
    std::size_t RefusedString() const { return _refusedString; }
    // Byte count up to and including the byte where parsing failed.
    std::size_t Position() const { return _position; }
    // The parser's explanation without its id and position prefix.
    std::string Message() const
    {
        std::string text = _message;
        if (!text.empty() && text[0] == '[') {
            std::size_t end = text.find("] ");
            if (end != std::string::npos) text.erase(0, end + 2);
        }
        if (text.compare(0, 11, "parse error") == 0) {
            std::size_t colon = text.find(": ");
            if (colon != std::string::npos) text.erase(0, colon + 2);
        }
        return text;
    }

private:
    bool Counted(const std::string& iText, const char* iNulMessage)
    {
        const std::size_t string = _strings++;
        if (std::memchr(iText.data(), '\0', iText.size()) == nullptr) return true;
        return Refuse(iNulMessage, string);
    }
    bool Refuse(const char* iWhy, std::size_t iString)
    {
        _refused = iWhy;
        _refusedString = iString;
        return false;
    }
    Json* Add(Json&& iValue, bool iOpen)
    {
        Json* slot;
        if (_stack.empty()) {
            _document = std::move(iValue);
            slot = &_document;
        } else if (_stack.back()->is_array()) {
            _stack.back()->push_back(std::move(iValue));
            slot = &_stack.back()->back();
        } else {
            auto added = _stack.back()->get_ref<Json::object_t&>().emplace(std::move(_key), std::move(iValue));
            if (!added.second) {
                Refuse(JsonSyntaxError::kDuplicateMember, _keyString);
                return nullptr;
            }
            slot = &added.first->second;
        }
        if (iOpen) _stack.push_back(slot);
        return slot;
    }
    bool Add(Json&& iValue) { return Add(std::move(iValue), false) != nullptr; }
    bool Open(Json&& iValue) { return Add(std::move(iValue), true) != nullptr; }
    bool Close()
    {
        if (!_stack.empty()) _stack.pop_back();
        return true;
    }

    Json& _document;
    std::vector<Json*> _stack;
    std::string _key;
    bool _failed;
    std::size_t _position;
    std::string _message;
    std::size_t _strings;
    std::size_t _keyString;
    const char* _refused;
    std::size_t _refusedString;
};

// Parses iText into oDocument. False with oError "NAME:LINE:COLUMN: error: <what>",
// pointing at the token at fault (see JsonSyntaxError).
inline bool ParseJson(const std::string& iText, const std::string& iName, Json& oDocument, std::string& oError)
{
    Json document;
    JsonBuilder builder(document);
    bool ok = Json::sax_parse(iText, &builder);
    if (builder.Refused() != nullptr) {
        const std::size_t string = builder.RefusedString();
        std::string what = builder.Refused();
        if (builder.Refused() == JsonSyntaxError::kDuplicateMember) what += JsonSyntaxError::StringText(iText, string);
        oError = ErrorPrefix(iName, iText, JsonSyntaxError::StringStart(iText, string)) + what;
        return false;
    }
    if (!ok || builder.Failed()) {
        std::size_t offset = 0;
        const std::string what = JsonSyntaxError::Explain(iText, builder.Position(), builder.Message(), offset);
        oError = ErrorPrefix(iName, iText, offset) + what;
        return false;
    }
    oDocument = std::move(document);
    return true;
}

// Reads a whole file. False with oError "PATH: error: cannot open: <reason>".
inline bool ReadFile(const std::string& iPath, std::string& oText, std::string& oError)
{
    std::FILE* file = std::fopen(iPath.c_str(), "rb");
    if (file == nullptr) {
        oError = iPath + ": error: cannot open: " + std::strerror(errno);
        return false;
    }
    std::string text;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    bool failed = std::ferror(file) != 0;
    int error = errno;
    std::fclose(file);
    if (failed) {
        oError = iPath + ": error: cannot read: " + std::strerror(error);
        return false;
    }
    oText = std::move(text);
    return true;
}

}  // namespace mtt_runtime

#endif
