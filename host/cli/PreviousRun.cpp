#include "PreviousRun.h"

#include <algorithm>
#include <climits>

#include <nlohmann/json.hpp>

#include "ModelNodeTable.h"
#include "PackedNumbers.h"
#include "TextFile.h"

namespace {

const char kDataOpen[] = "<script type=\"application/json\" id=\"explain-data\">";
const char kDataClose[] = "</script>";

// The UTF-16 length of a UTF-8 character starting with iByte.
size_t CharacterUnits(unsigned char iByte, size_t& oBytes)
{
    oBytes = iByte < 0x80 ? 1 : iByte >= 0xf0 ? 4 : iByte >= 0xe0 ? 3 : iByte >= 0xc0 ? 2 : 1;
    return oBytes == 4 ? 2 : 1;
}

}  // namespace

PreviousRun::PreviousRun() : _model(new ModelNodeTable(ModelNodeTable::FromPage(nlohmann::json()))) {}

PreviousRun::~PreviousRun() {}

bool PreviousRun::Load(const std::string& iPath, std::string& oError)
{
    _path = iPath;
    std::string text;
    if (!TextFile::Read(iPath, text, oError)) return false;
    const size_t open = text.find(kDataOpen);
    if (open == std::string::npos) {
        _outputs[std::string()] = Output{std::move(text), {}};
        return true;
    }
    const size_t begin = open + sizeof kDataOpen - 1;
    const size_t close = text.find(kDataClose, begin);
    if (close == std::string::npos) {
        oError = "'" + iPath + "' is an explain page cut short";
        return false;
    }
    _page = true;
    return ReadPage(text.substr(begin, close - begin), oError);
}

bool PreviousRun::ReadPage(const std::string& iData, std::string& oError)
{
    const nlohmann::json data = nlohmann::json::parse(iData, nullptr, false);
    if (data.is_discarded() || !data.is_object() || !data.contains("outputs") || !data.contains("files")) {
        oError = "'" + _path + "' holds no data mttgen can read";
        return false;
    }
    for (const nlohmann::json& file : data["files"]) {
        if (file.contains("name") && file.contains("text")) _templates[file["name"].get<std::string>()] = file["text"];
    }
    if (data.contains("variables") && data["variables"].is_object()) {
        for (auto variable = data["variables"].begin(); variable != data["variables"].end(); ++variable) {
            if (variable.value().is_string()) _variables[variable.key()] = variable.value().get<std::string>();
        }
    }
    if (data.contains("model") && data["model"].is_object()) {
        _model.reset(new ModelNodeTable(ModelNodeTable::FromPage(data["model"])));
    }
    const int32_t nodes = _model->Size();
    std::vector<int32_t> extras;  // the node shown for each object outside the document
    if (data.contains("extras")) {
        for (const nlohmann::json& extra : data["extras"]) {
            extras.push_back(extra.is_array() && extra.size() == 2 && extra[1].is_number() ? extra[1].get<int32_t>()
                                                                                           : -1);
        }
    }
    for (const nlohmann::json& written : data["outputs"]) {
        if (!written.contains("name") || !written.contains("text") || !written["text"].is_string()) continue;
        Output output;
        output.text = written["text"].get<std::string>();
        const std::vector<int32_t> pieces = written.contains("pieces") && written["pieces"].is_string()
                                                ? PackedNumbers::Read(written["pieces"], 4)
                                                : std::vector<int32_t>();
        // Each piece's nodes go to the lines it covers; its end counts
        // UTF-16 units, which are found in the text's bytes on the way.
        output.lineNodes.assign(1, std::vector<int32_t>());
        size_t byte = 0;
        uint64_t unit = 0;
        int64_t object = -1;
        for (size_t i = 0; i + 4 <= pieces.size(); i += 4) {
            const uint64_t end = unit + static_cast<uint64_t>(std::max(pieces[i], 0));
            object += pieces[i + 2];
            const int64_t value = pieces[i + 3] == INT32_MIN ? -1 : object + pieces[i + 3];
            const int32_t shown = object >= nodes && object - nodes < static_cast<int64_t>(extras.size())
                                      ? extras[static_cast<size_t>(object - nodes)]
                                      : static_cast<int32_t>(object);
            const auto note = [&](std::vector<int32_t>& ioLine) {
                for (const int64_t node : {static_cast<int64_t>(shown), value}) {
                    if (node >= 0 && node < nodes && (ioLine.empty() || ioLine.back() != node)) {
                        ioLine.push_back(static_cast<int32_t>(node));
                    }
                }
            };
            if (end > unit) note(output.lineNodes.back());
            while (unit < end && byte < output.text.size()) {
                size_t length;
                unit += CharacterUnits(static_cast<unsigned char>(output.text[byte]), length);
                const bool lineEnd = output.text[byte] == '\n';
                byte += length;
                if (lineEnd && byte < output.text.size()) {
                    output.lineNodes.emplace_back();
                    if (unit < end) note(output.lineNodes.back());
                }
            }
        }
        _outputs[written["name"].get<std::string>()] = std::move(output);
    }
    return true;
}

const PreviousRun::Output* PreviousRun::FindOutput(const std::string& iName) const
{
    if (!_page) return _outputs.empty() ? nullptr : &_outputs.begin()->second;
    auto found = _outputs.find(iName);
    return found == _outputs.end() ? nullptr : &found->second;
}

std::vector<std::string> PreviousRun::OutputNames() const
{
    std::vector<std::string> names;
    if (!_page) return names;
    for (const auto& output : _outputs) names.push_back(output.first);
    return names;
}

const std::string* PreviousRun::Template(const std::string& iName) const
{
    auto found = _templates.find(iName);
    return found == _templates.end() ? nullptr : &found->second;
}

const std::string* PreviousRun::Variable(const std::string& iName) const
{
    auto found = _variables.find(iName);
    return found == _variables.end() ? nullptr : &found->second;
}
