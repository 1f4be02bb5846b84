#include "ExplainPage.h"

#include <algorithm>

#include "ExplainPageSource.h"
#include "JsonModel.h"
#include "JsonModelObject.h"
#include "MTTEvaluationOutputLeaf.h"
#include "ModelNodeTable.h"
#include "ScriptJson.h"
#include "SourceMap.h"

namespace {

// Where the page source takes the data; the build checks that it is there.
const char* const kDataMarker = "@EXPLAIN_DATA@";

void AppendNumber(std::string& ioOut, int64_t iNumber)
{
    ioOut += std::to_string(iNumber);
}

}  // namespace

ExplainPage::ExplainPage(const SourceMap& iMap, JsonModel* iModel) : _map(iMap), _model(iModel), _ancestry(iMap)
{
    if (_model == nullptr) return;
    if (const JsonModelObject* root = dynamic_cast<const JsonModelObject*>(_model->Root())) {
        _nodes.reset(new ModelNodeTable(root->Node()));
    }
}

ExplainPage::~ExplainPage() {}

int32_t ExplainPage::ObjectIndex(const MTLIModelObject* iObject)
{
    if (iObject == nullptr || _model == nullptr) return -1;
    auto known = _objectIndexes.find(iObject);
    if (known != _objectIndexes.end()) return known->second;
    const int32_t index = static_cast<int32_t>(_objectIndexes.size());
    _objectIndexes.emplace(iObject, index);
    const JsonModelObject* object = dynamic_cast<const JsonModelObject*>(iObject);
    if (index > 0) _objects += ',';
    AppendNumber(_objects, object != nullptr && _nodes ? _nodes->IndexOf(&object->Node()) : -1);
    _objects += ',';
    const std::string pointer = _model->PointerOf(iObject);
    ScriptJson::AppendString(_objects, pointer == JsonModel::kUnknownPointer ? std::string("?") : pointer);
    return index;
}

void ExplainPage::AddOutput(const std::string& iName, const GeneratedText& iText, MTTEvaluationOutput* iRoot)
{
    const std::unordered_map<const MTTEvaluationOutputLeaf*, int32_t> contexts = _ancestry.Walk(iRoot);
    const std::vector<GeneratedText::Piece>& pieces = iText.Pieces();
    std::vector<uint32_t> ends;
    ends.reserve(pieces.size());
    for (const GeneratedText::Piece& piece : pieces) ends.push_back(static_cast<uint32_t>(piece.end));
    std::vector<uint32_t> units;
    std::string json = "{\"name\":";
    ScriptJson::AppendString(json, iName);
    json += ",\"text\":";
    ScriptJson::AppendString(json, iText.Text(), ends, units);
    json += ",\"pieces\":[";
    int32_t object = -1;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const MTTEvaluationOutputLeaf* leaf = pieces[i].leaf;
        auto context = contexts.find(leaf);
        if (i > 0) json += ',';
        AppendNumber(json, static_cast<int64_t>(units[i]) - (i > 0 ? units[i - 1] : 0));
        json += ',';
        AppendNumber(json, context != contexts.end() ? context->second : 0);
        json += ',';
        const int32_t next = ObjectIndex(leaf->GetModelObject());
        AppendNumber(json, static_cast<int64_t>(next) - object);
        object = next;
    }
    json += "],\"userCode\":[";
    // A section is the user-code leaf and the marker leaves its statement
    // wrote around it.
    const auto begin = [&](size_t iPiece) { return iPiece == 0 ? 0u : units[iPiece - 1]; };
    bool first = true;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const MTTEvaluationOutputLeaf* leaf = pieces[i].leaf;
        if (leaf->GetLeafType() != MTTLeafUserCode) continue;
        const bool opened = i > 0 && pieces[i - 1].leaf->GetStatement() == leaf->GetStatement();
        const bool closed = i + 1 < pieces.size() && pieces[i + 1].leaf->GetStatement() == leaf->GetStatement();
        json += first ? "" : ",";
        first = false;
        json += std::to_string(begin(opened ? i - 1 : i)) + ',' + std::to_string(begin(i)) + ',' +
                std::to_string(units[i]) + ',' + std::to_string(units[closed ? i + 1 : i]);
    }
    json += "]}";
    _outputs.push_back(std::move(json));
}

std::string ExplainPage::Html() const
{
    const std::vector<SourceSpan>& directives = _ancestry.Directives();
    std::string data = _model != nullptr ? "{\"late\":false,\"files\":[" : "{\"late\":true,\"files\":[";
    // Directive spans in UTF-16 units, found while each file is written.
    std::vector<uint32_t> begins(directives.size());
    std::vector<uint32_t> ends(directives.size());
    for (uint32_t file = 0; file < _map.FileCount(); ++file) {
        std::vector<uint32_t> bytes;
        for (const SourceSpan& span : directives) {
            if (span.file != file) continue;
            bytes.push_back(span.begin);
            bytes.push_back(span.end);
        }
        std::sort(bytes.begin(), bytes.end());
        bytes.erase(std::unique(bytes.begin(), bytes.end()), bytes.end());
        const SourceMap::File& source = _map.FileAt(file);
        data += file > 0 ? ",{\"name\":" : "{\"name\":";
        ScriptJson::AppendString(data, _map.DisplayName(file));
        data += ",\"text\":";
        std::vector<uint32_t> units;
        ScriptJson::AppendString(data, source.text, bytes, units);
        data += ",\"from\":";
        if (source.included) {
            ScriptJson::AppendString(data, _map.Where(source.includedFrom));
        } else {
            data += "null";
        }
        data += '}';
        const auto unitsOf = [&](uint32_t iByte) {
            return units[std::lower_bound(bytes.begin(), bytes.end(), iByte) - bytes.begin()];
        };
        for (size_t i = 0; i < directives.size(); ++i) {
            if (directives[i].file != file) continue;
            begins[i] = unitsOf(directives[i].begin);
            ends[i] = unitsOf(directives[i].end);
        }
    }
    data += "],\"directives\":[";
    for (size_t i = 0; i < directives.size(); ++i) {
        data += (i > 0 ? "," : "") + std::to_string(directives[i].file) + ',' + std::to_string(begins[i]) + ',' +
                std::to_string(ends[i]) + ',';
        ScriptJson::AppendString(data, _map.Where(directives[i]));
        data += ',';
        ScriptJson::AppendString(data, _map.Excerpt(directives[i], 32));
    }
    data += "],\"contexts\":[";
    const std::vector<OutputAncestry::Context>& contexts = _ancestry.Contexts();
    for (size_t i = 0; i < contexts.size(); ++i) {
        data += (i > 0 ? "," : "") + std::to_string(contexts[i].parent) + ',' + std::to_string(contexts[i].directive);
    }
    data += "],\"objects\":[" + _objects + "],\"model\":";
    data += _nodes ? _nodes->Json() : std::string("null");
    data += ",\"outputs\":[";
    for (size_t i = 0; i < _outputs.size(); ++i) data += (i > 0 ? "," : "") + _outputs[i];
    data += "]}";

    const std::string page(kExplainPageSource);
    const size_t at = page.find(kDataMarker);
    return page.substr(0, at) + data + page.substr(at + std::string(kDataMarker).size());
}
