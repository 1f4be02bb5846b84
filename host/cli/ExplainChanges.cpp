#include "ExplainChanges.h"

#include <algorithm>
#include <cctype>

#include "LineDiff.h"
#include "ModelNodeTable.h"
#include "PreviousRun.h"
#include "ScriptJson.h"

namespace {

// Changed lines given a cause of their own; the rest share one.
const size_t kMaxExplained = 5000;

size_t LineOf(const std::vector<size_t>& iStarts, size_t iByte)
{
    return static_cast<size_t>(std::upper_bound(iStarts.begin(), iStarts.end(), iByte) - iStarts.begin()) - 1;
}

// A template text on one line, cut to about iMax bytes between characters.
std::string OneLine(const std::string& iText, size_t iMax)
{
    std::string flat;
    for (const char c : iText) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!flat.empty() && flat.back() != ' ') flat += ' ';
        } else {
            flat += c;
        }
    }
    while (!flat.empty() && flat.back() == ' ') flat.pop_back();
    if (flat.size() <= iMax) return flat;
    size_t cut = iMax;
    while (cut > 0 && (static_cast<unsigned char>(flat[cut]) & 0xc0) == 0x80) --cut;
    return flat.substr(0, cut) + "...";
}

std::string ShownValue(std::string_view iScalar)
{
    return iScalar.size() > 60 ? OneLine(std::string(iScalar), 60) : std::string(iScalar);
}

// A list or object that holds another number of values than it did.
std::string HoldsOther(const std::string& iPointer, int32_t iHolds, int32_t iHeld, bool iList)
{
    return "model " + iPointer + " holds " + std::to_string(iHolds) + (iList ? " elements" : " members") + ", held " +
           std::to_string(iHeld);
}

}  // namespace

ExplainChanges::ExplainChanges(const PreviousRun& iPrevious, const ModelNodeTable* iModel,
                               const OutputAncestry& iAncestry, const std::map<std::string, std::string>& iVariables)
    : _previous(iPrevious), _model(iModel), _ancestry(iAncestry), _variables(iVariables)
{
}

ExplainChanges::~ExplainChanges() {}

size_t ExplainChanges::Cause(const std::string& iText, int32_t iDirective, int32_t iNode)
{
    std::string json = "{\"text\":";
    ScriptJson::AppendString(json, iText);
    json += ",\"directive\":" + std::to_string(iDirective) + ",\"node\":" + std::to_string(iNode) + "}";
    auto added = _causeIndex.emplace(json, _causes.size());
    if (added.second) _causes.push_back(json);
    return added.first->second;
}

void ExplainChanges::CompareTemplates(const std::vector<File>& iFiles)
{
    _templatesCompared = true;
    _changedTemplateLines.assign(iFiles.size(), std::set<size_t>());
    for (const File& file : iFiles) _templateStarts.push_back(LineDiff::LineStarts(*file.text));
    if (!_previous.IsPage()) return;
    for (size_t file = 0; file < iFiles.size(); ++file) {
        const std::string* earlier = _previous.Template(iFiles[file].name);
        std::set<size_t>& changed = _changedTemplateLines[file];
        if (earlier == nullptr) {
            // A file the earlier run did not read: all of it is new.
            for (size_t line = 0; line < _templateStarts[file].size(); ++line) changed.insert(line);
            continue;
        }
        for (const LineDiff::Hunk& hunk : LineDiff::Of(*earlier, *iFiles[file].text)) {
            // Lines deleted count against the line that now stands there.
            for (size_t line = hunk.newFirst; line < hunk.newFirst + std::max<size_t>(hunk.newCount, 1); ++line) {
                changed.insert(line);
            }
        }
    }
}

size_t ExplainChanges::Unexplained()
{
    if (!_previous.IsPage()) return Cause("compared with a generated file: the earlier template and model are unknown");
    // A variable given with -D that is not what it was.
    for (const auto& variable : _variables) {
        const std::string* earlier = _previous.Variable(variable.first);
        if (earlier == nullptr || *earlier != variable.second) {
            return Cause("variable " + variable.first +
                         (earlier != nullptr ? " was \"" + *earlier + "\", now" : " is new:") + " \"" +
                         variable.second + "\"");
        }
    }
    return Cause("neither the template lines behind it nor the model values it read changed");
}

size_t ExplainChanges::NewCause(std::string_view iText, const std::vector<size_t>& iStarts, size_t iFirst, size_t iEnd,
                                const std::vector<Piece>& iPieces, const std::vector<File>& iFiles)
{
    const size_t begin = iStarts[iFirst];
    const size_t end = iEnd < iStarts.size() ? iStarts[iEnd] : iText.size();
    const auto firstPiece = std::upper_bound(iPieces.begin(), iPieces.end(), static_cast<uint32_t>(begin),
                                             [](uint32_t iByte, const Piece& iPiece) { return iByte < iPiece.end; });
    const std::vector<OutputAncestry::Directive>& directives = _ancestry.Directives();
    const std::vector<OutputAncestry::Context>& contexts = _ancestry.Contexts();
    // The first value read that changed, and the first element that is new;
    // made causes only when chosen.
    std::string model;
    int32_t modelNode = -1;
    std::string added;
    int32_t addedNode = -1;
    std::string made;  // what the first piece is made of, for a plain earlier text
    for (auto piece = firstPiece; piece != iPieces.end(); ++piece) {
        const uint32_t pieceBegin = piece == iPieces.begin() ? 0 : (piece - 1)->end;
        if (pieceBegin >= end) break;
        if (pieceBegin == piece->end) continue;
        // Not made by the template: written in the file (or given by the
        // model) and kept there.
        if (piece->userCode) return Cause("user code, the section's own text: kept, not generated");
        // The innermost directive on its chain whose lines changed.
        for (int32_t context = piece->context; context > 0 && _previous.IsPage(); context = contexts[context].parent) {
            const OutputAncestry::Directive& directive = directives[contexts[context].directive];
            const std::string& text = *iFiles[directive.file].text;
            const std::vector<size_t>& starts = _templateStarts[directive.file];
            const size_t first = starts.empty() ? 0 : LineOf(starts, directive.begin);
            const size_t last = starts.empty() ? 0 : LineOf(starts, std::max(directive.begin, directive.end - 1));
            const std::set<size_t>& changed = _changedTemplateLines[directive.file];
            const auto hit = changed.lower_bound(first);
            if (hit == changed.end() || *hit > last) continue;
            // The line as it reads now.
            const size_t lineEnd = *hit + 1 < starts.size() ? starts[*hit + 1] : text.size();
            return Cause("template " + iFiles[directive.file].name + ":" + std::to_string(*hit + 1) +
                             " changed: " + OneLine(text.substr(starts[*hit], lineEnd - starts[*hit]), 60),
                         contexts[context].directive);
        }
        if (_model == nullptr) continue;
        if (made.empty() && !_previous.IsPage()) {
            const int32_t node = piece->value >= 0 ? piece->value : piece->object;
            const int32_t context = piece->context;
            if (context > 0) {
                const OutputAncestry::Directive& directive = directives[contexts[context].directive];
                const std::vector<size_t>& starts = _templateStarts[directive.file];
                made = "made by " + iFiles[directive.file].name + ":" +
                       std::to_string(starts.empty() ? 1 : LineOf(starts, directive.begin) + 1);
            }
            if (node >= 0 && node < _model->Size()) {
                made += (made.empty() ? "made from " : " from ") + _model->PointerOf(node);
            }
        }
        if (!_previous.IsPage()) continue;
        const ModelNodeTable& earlier = _previous.Model();
        if (model.empty() && piece->value >= 0 && piece->value < _model->Size()) {
            const std::string pointer = _model->PointerOf(piece->value);
            const int32_t was = earlier.Find(pointer);
            const std::string_view now = _model->Scalar(piece->value);
            if (was < 0) {
                model = "model " + pointer + " is new: " + ShownValue(now);
            } else if (earlier.Scalar(was) != now) {
                model = "model " + pointer + " was " + ShownValue(earlier.Scalar(was)) + ", now " + ShownValue(now);
            } else if (const int32_t held = earlier.ChildCount(was), holds = _model->ChildCount(piece->value);
                       held != holds) {
                // A value counted from a list or an object (${@size:LIST}).
                model = HoldsOther(pointer, holds, held, _model->IsArray(piece->value));
            }
            modelNode = piece->value;
        }
        if (added.empty() && piece->object >= 0 && piece->object < _model->Size()) {
            const std::string pointer = _model->PointerOf(piece->object);
            if (earlier.Find(pointer) < 0) {
                added = "model element " + pointer + " is new";
                addedNode = piece->object;
            }
        }
    }
    if (!model.empty()) return Cause(model, -1, modelNode);
    if (!added.empty()) return Cause(added, -1, addedNode);
    if (!made.empty()) return Cause(made);
    // Written by a loop whose list grew or shrank, reading nothing that
    // changed (a brace, a blank line): the lines moved with the elements.
    for (auto piece = firstPiece; _model != nullptr && _previous.IsPage() && piece != iPieces.end(); ++piece) {
        if ((piece == iPieces.begin() ? 0 : (piece - 1)->end) >= end) break;
        for (int32_t node = piece->object; node >= 0 && node < _model->Size(); node = _model->Parent(node)) {
            if (!_model->IsArray(node)) continue;
            const std::string pointer = _model->PointerOf(node);
            const int32_t was = _previous.Model().Find(pointer);
            const int32_t holds = _model->ChildCount(node);
            const int32_t held = was >= 0 ? _previous.Model().ChildCount(was) : holds;
            if (held != holds) return Cause(HoldsOther(pointer, holds, held, true), -1, node);
        }
    }
    return Unexplained();
}

size_t ExplainChanges::GoneCause(const std::vector<std::vector<int32_t>>& iLineNodes, size_t iFirst, size_t iEnd)
{
    const ModelNodeTable& earlier = _previous.Model();
    for (size_t line = iFirst; line < iEnd && line < iLineNodes.size(); ++line) {
        for (const int32_t node : iLineNodes[line]) {
            const std::string pointer = earlier.PointerOf(node);
            if (_model == nullptr || _model->Find(pointer) < 0) return Cause("model element " + pointer + " is gone");
        }
    }
    for (const std::set<size_t>& changed : _changedTemplateLines) {
        if (!changed.empty()) return Cause("the template changed");
    }
    return Unexplained();
}

void ExplainChanges::Compare(size_t iOutput, const std::string& iName, std::string_view iText,
                             const std::vector<Piece>& iPieces, const std::vector<File>& iFiles)
{
    if (!_templatesCompared) CompareTemplates(iFiles);
    _names.insert(iName);
    const PreviousRun::Output* earlier = _previous.FindOutput(iName);
    Compared compared{iOutput, earlier == nullptr, {}, {}};
    if (earlier != nullptr) {
        const std::vector<size_t> starts = LineDiff::LineStarts(iText);
        for (const LineDiff::Hunk& hunk : LineDiff::Of(earlier->text, iText)) {
            if (hunk.newCount == 0) {
                const bool explained = _explained++ < kMaxExplained;
                const size_t cause = !explained
                                         ? Cause("one of many changes")
                                         : GoneCause(earlier->lineNodes, hunk.oldFirst, hunk.oldFirst + hunk.oldCount);
                compared.removed.push_back(Run{hunk.newFirst, hunk.oldCount, cause});
                continue;
            }
            // Each line its cause; lines in a row with one cause, one run.
            for (size_t line = hunk.newFirst; line < hunk.newFirst + hunk.newCount; ++line) {
                const bool explained = _explained++ < kMaxExplained;
                const size_t cause = !explained ? Cause("one of many changes")
                                                : NewCause(iText, starts, line, line + 1, iPieces, iFiles);
                Run* last = compared.lines.empty() ? nullptr : &compared.lines.back();
                if (last != nullptr && last->cause == cause && last->first + last->count == line) {
                    ++last->count;
                } else {
                    compared.lines.push_back(Run{line, 1, cause});
                }
            }
        }
    }
    _outputs.push_back(std::move(compared));
}

std::string ExplainChanges::Json() const
{
    std::string json = "{\"since\":";
    ScriptJson::AppendString(json, _previous.Path());
    json += ",\"outputs\":[";
    // Only the files that changed: a run over thousands changes a few.
    bool listed = false;
    for (const Compared& compared : _outputs) {
        if (!compared.created && compared.lines.empty() && compared.removed.empty()) continue;
        json += listed ? ",{\"output\":" : "{\"output\":";
        listed = true;
        json += std::to_string(compared.output);
        json += compared.created ? ",\"created\":true" : ",\"created\":false";
        for (const auto* runs : {&compared.lines, &compared.removed}) {
            json += runs == &compared.lines ? ",\"lines\":[" : ",\"removed\":[";
            for (size_t j = 0; j < runs->size(); ++j) {
                const Run& run = (*runs)[j];
                json += (j > 0 ? ",[" : "[") + std::to_string(run.first) + ',' + std::to_string(run.count) + ',' +
                        std::to_string(run.cause) + ']';
            }
            json += ']';
        }
        json += '}';
    }
    json += "],\"gone\":[";
    bool first = true;
    for (const std::string& name : _previous.OutputNames()) {
        if (_names.count(name) != 0) continue;
        if (!first) json += ',';
        first = false;
        ScriptJson::AppendString(json, name);
    }
    json += "],\"causes\":[";
    for (size_t i = 0; i < _causes.size(); ++i) json += (i > 0 ? "," : "") + _causes[i];
    json += "]}";
    return json;
}
