#include "ExplainPage.h"

#include <algorithm>

#include "ExplainChanges.h"
#include "ExplainModel.h"
#include "ExplainPageSource.h"
#include "JsonModel.h"
#include "JsonModelObject.h"
#include "ModelNodeTable.h"
#include "PieceContexts.h"
#include "ScriptJson.h"
#include "SourceMap.h"

namespace {

// A piece read from no node of its own.
const int64_t kNoValue = INT32_MIN;
// From this many pieces the walk of their contexts gets a thread: below,
// starting one costs about what it saves.
const size_t kWalkAsideFrom = size_t(1) << 15;

// Where the page source takes the data; the build checks that it is there.
const char* const kDataMarker = "@EXPLAIN_DATA@";

const char* SeverityWord(ExplainMessage::Severity iSeverity)
{
    switch (iSeverity) {
    case ExplainMessage::Severity::kError: return "error";
    case ExplainMessage::Severity::kWarning: return "warning";
    case ExplainMessage::Severity::kNote: break;
    }
    return "note";
}

void AppendField(std::string& ioOut, const char* iName, int64_t iNumber)
{
    ioOut += ",\"";
    ioOut += iName;
    ioOut += "\":";
    ioOut += std::to_string(iNumber);
}

void AppendField(std::string& ioOut, const char* iName, const std::string& iText)
{
    ioOut += ",\"";
    ioOut += iName;
    ioOut += "\":";
    ScriptJson::AppendString(ioOut, iText);
}

// The byte offset of a 1-based line and byte column, or -1.
int64_t OffsetOf(const std::string& iText, int iLine, int iColumn)
{
    size_t at = 0;
    for (int line = 1; line < iLine; ++line) {
        at = iText.find('\n', at);
        if (at == std::string::npos) return -1;
        ++at;
    }
    return static_cast<int64_t>(std::min(iText.size(), at + static_cast<size_t>(std::max(iColumn, 1) - 1)));
}

uint32_t UnitsOf(std::string_view iText, uint32_t iByte)
{
    std::vector<uint32_t> units;
    ScriptJson::Units(iText, {iByte}, units);
    return units[0];
}

}  // namespace

ExplainPage::ExplainPage(JsonModel* iModel, ExplainModel* iShown) : _model(iModel), _shown(iShown)
{
    if (_model == nullptr) return;
    if (_shown == nullptr) {
        _ownShown = ExplainModel::Of(*_model);
        _shown = _ownShown.get();
    }
    _nodes = _shown->Nodes();
    if (_nodes != nullptr) {
        _values.reset(new ValueSource(*_nodes));
        _nodeCount = static_cast<size_t>(_nodes->Size());
    }
}

void ExplainPage::OutputsAdded()
{
    // Objects are numbered no more: messages added from now on name none.
    _values.reset();
    _nodes = nullptr;
    _lastObject = nullptr;
    if (_shown != nullptr) _shown->LetGoOfNodes();
}

ExplainPage::~ExplainPage() {}

size_t ExplainPage::AddTemplate(const SourceMap& iMap)
{
    Template added{&iMap, {}};
    for (uint32_t file = 0; file < iMap.FileCount(); ++file) {
        const SourceMap::File& source = iMap.FileAt(file);
        const std::string name = iMap.DisplayName(file);
        // A file that several templates include is shown once.
        size_t same = 0;
        while (same < _files.size() && !(_files[same].name == name && *_files[same].text == source.text)) ++same;
        if (same == _files.size()) {
            File shown{name, &source.text, -1, 0};
            if (source.included) {
                shown.fromFile = static_cast<int32_t>(added.files[source.includedFrom.file]);
                shown.fromByte = source.includedFrom.begin;
            }
            _files.push_back(shown);
        }
        added.files.push_back(static_cast<uint32_t>(same));
    }
    _templates.push_back(std::move(added));
    return _templates.size() - 1;
}

int32_t ExplainPage::DocumentIndex(const MTLIModelObject* iObject) const
{
    return _shown->NodeOfSlot(_model->DocumentSlotOf(iObject));
}

int32_t ExplainPage::FoundObjectIndex(const MTLIModelObject* iObject)
{
    if (iObject == nullptr || !_nodes) return -1;
    const int32_t document = DocumentIndex(iObject);
    if (document >= 0) {
        _lastObject = iObject;
        _lastIndex = document;
        return document;
    }
    auto known = _objectIndexes.find(iObject);
    if (known == _objectIndexes.end()) {
        // Another object (a user-code text, a selection) is found from its
        // parent, by the name or number that leads to it; the parents not
        // known yet first.
        std::vector<const JsonModelObject*> chain;
        const JsonModelObject* object = dynamic_cast<const JsonModelObject*>(iObject);
        int32_t index = -1;
        for (; object != nullptr; object = object->Parent()) {
            index = DocumentIndex(object);
            if (index >= 0) break;
            auto parent = _objectIndexes.find(object);
            if (parent != _objectIndexes.end()) {
                index = parent->second;
                break;
            }
            chain.push_back(object);
        }
        if (object == nullptr && !chain.empty()) {
            index = 0;  // the root
            _objectIndexes.emplace(chain.back(), 0);
            chain.pop_back();
        }
        for (auto step = chain.rbegin(); step != chain.rend(); ++step) {
            const std::string token = (*step)->Token();
            index = index >= 0 && index < _nodes->Size() ? _nodes->Child(index, token) : -1;
            if (index < 0) index = ExtraIndex(*step);
            _objectIndexes.emplace(*step, index);
        }
        known = _objectIndexes.find(iObject);
        if (known == _objectIndexes.end()) known = _objectIndexes.emplace(iObject, ExtraIndex(iObject)).first;
    }
    _lastObject = iObject;
    _lastIndex = known->second;
    return _lastIndex;
}

int32_t ExplainPage::ExtraIndex(const MTLIModelObject* iObject)
{
    // Outside the document (a user-code text): numbered after it, shown
    // as the object it belongs to.
    const int32_t index = _nodes->Size() + static_cast<int32_t>(_extraCount++);
    const std::string pointer = _model->PointerOf(iObject);
    const JsonModelObject* object = dynamic_cast<const JsonModelObject*>(iObject);
    const JsonModelObject* owner = object != nullptr ? object->Parent() : nullptr;
    auto shown = owner != nullptr ? _objectIndexes.find(owner) : _objectIndexes.end();
    _extras += _extras.empty() ? "[" : ",[";
    ScriptJson::AppendString(_extras, pointer == JsonModel::kUnknownPointer ? std::string("?") : pointer);
    _extras += ',' +
               std::to_string(shown != _objectIndexes.end() && shown->second < _nodes->Size() ? shown->second : -1) +
               ']';
    return index;
}

std::vector<ValueSource::Call> ExplainPage::CallsOf(int32_t iContext) const
{
    // Innermost first: a function's directive, then its call's.
    std::vector<ValueSource::Call> calls;
    const std::vector<OutputAncestry::Context>& contexts = _ancestry.Contexts();
    const auto text = [this](const OutputAncestry::Directive& iDirective) {
        return _files[iDirective.file].text->substr(iDirective.begin, iDirective.end - iDirective.begin);
    };
    const OutputAncestry::Directive* function = nullptr;
    for (int32_t context = iContext; context > 0; context = contexts[context].parent) {
        const OutputAncestry::Directive& directive = _ancestry.Directives()[contexts[context].directive];
        if (function != nullptr && directive.kind == OutputAncestry::Directive::Kind::kCall) {
            calls.push_back(ValueSource::Call{text(directive), text(*function)});
        }
        function = directive.kind == OutputAncestry::Directive::Kind::kFunction ? &directive : nullptr;
    }
    return calls;
}

void ExplainPage::AddOutput(const std::string& iName, size_t iTemplate, const GeneratedText& iText,
                            const std::vector<ExplainMessage>& iMessages, bool iKeptDespiteErrors)
{
    const Template& source = _templates[iTemplate];
    Output output;
    output.name = iName;
    output.templateIndex = iTemplate;
    output.status = iKeptDespiteErrors ? "kept" : "written";
    output.text = iText.Text();
    const size_t count = iText.PieceCount();
    const auto endOf = [&iText](size_t iPiece) { return static_cast<uint32_t>(iText.PieceAt(iPiece).end); };
    // Each piece's end in the page's units: its end in bytes where every
    // byte is one, as in most generated code; else counted once.
    const bool ascii = ScriptJson::IsAscii(iText.Text());
    std::vector<uint32_t> units;
    if (!ascii) {
        units.reserve(count);
        for (size_t i = 0; i < count; ++i) units.push_back(endOf(i));
        ScriptJson::Units(iText.Text(), units, units);
    }
    const auto unitEnd = [&](size_t iPiece) { return ascii ? endOf(iPiece) : units[iPiece]; };

    output.pieceCount = count;
    PackedNumbers packed(4);
    packed.Reserve(count);
    std::vector<ExplainChanges::Piece> compared;
    if (_changes) compared.reserve(count);
    int32_t object = -1;
    int64_t begin = 0;
    {
        // Each piece's context: a large output's walked on a thread beside
        // this loop (PieceContexts).
        PieceContexts contexts(_ancestry, iText.Shape(), *source.map, source.files, count, count >= kWalkAsideFrom);
        // Made once: the chain of calls is asked for only for a parameter,
        // and read from the ancestry once it is whole.
        int32_t pieceContext = 0;
        const ValueSource::CallChain calls = [this, &pieceContext, &contexts] {
            contexts.Finish();
            return CallsOf(pieceContext);
        };
        size_t run = 0;
        for (size_t i = 0; i < count; ++i) {
            const int32_t context = contexts.At(i);
            const GeneratedText::Piece piece = iText.PieceAt(i, run);
            const int32_t next = ObjectIndex(piece.leaf.object);
            int32_t value = -1;
            if (_values && next >= 0 && next < _nodes->Size()) {
                pieceContext = context;
                value = _values->Find(piece.statement, *source.map, next, calls);
            }
            const uint32_t end = ascii ? static_cast<uint32_t>(piece.end) : units[i];
            packed.Add({static_cast<int64_t>(end) - begin, context, static_cast<int64_t>(next) - object,
                        value < 0 ? kNoValue : static_cast<int64_t>(value) - next});
            if (_changes) {
                const int32_t shown = next >= 0 && next < _nodes->Size() ? next : -1;
                compared.push_back(ExplainChanges::Piece{static_cast<uint32_t>(piece.end), context, shown, value,
                                                         piece.leaf.Type() == MTTLeafUserCode});
            }
            object = next;
            begin = end;
        }
        contexts.Finish();
    }
    packed.AppendTo(output.pieces);
    // A section is the user-code leaf and the marker leaves its statement
    // wrote around it.
    const auto unitBegin = [&](size_t iPiece) { return iPiece == 0 ? 0u : unitEnd(iPiece - 1); };
    const mtt::OutputShape& shape = iText.Shape();
    for (size_t i = 0; i < count && !iText.Sections().empty(); ++i) {
        if (shape.LeafType(i) != MTTLeafUserCode) continue;
        // Its statement wrote the markers around it: the same number.
        const uint32_t statement = shape.LeafStatement(i);
        const bool opened = i > 0 && shape.LeafStatement(i - 1) == statement;
        const bool closed = i + 1 < count && shape.LeafStatement(i + 1) == statement;
        output.userCode.insert(output.userCode.end(),
                               {unitBegin(opened ? i - 1 : i), unitBegin(i), unitEnd(i), unitEnd(closed ? i + 1 : i)});
    }
    _outputs.push_back(std::move(output));
    if (_changes) {
        std::vector<ExplainChanges::File> files;
        for (const File& file : _files) files.push_back(ExplainChanges::File{file.name, file.text});
        _changes->Compare(_outputs.size() - 1, iName, iText.Text(), compared, files);
    }
    if (iMessages.empty()) return;
    // Messages come with offsets into the evaluation's own text: the
    // leaves' texts before user code is kept.
    std::vector<uint32_t> evaluationEnds, ends;
    evaluationEnds.reserve(count);
    ends.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        evaluationEnds.push_back(iText.Shape().LeafEnd(i));
        ends.push_back(endOf(i));
    }
    AddMessages(iMessages, static_cast<int32_t>(_outputs.size() - 1), evaluationEnds, ends, ascii ? ends : units);
}

void ExplainPage::AddStoppedOutput(const std::string& iName, size_t iTemplate, std::string iText,
                                   const std::vector<ExplainMessage>& iMessages)
{
    Output output;
    output.name = iName;
    output.templateIndex = iTemplate;
    output.status = "stopped";
    output.ownText = std::move(iText);
    _outputs.push_back(std::move(output));
    Output& added = _outputs.back();
    added.ownsText = true;
    added.stop = UnitsOf(added.ownText, static_cast<uint32_t>(added.ownText.size()));
    // The text is the evaluation's own: offsets need no mapping.
    AddMessages(iMessages, static_cast<int32_t>(_outputs.size() - 1), {}, {}, {});
}

void ExplainPage::AddMessages(const std::vector<ExplainMessage>& iMessages, int32_t iOutput,
                              const std::vector<uint32_t>& iEvaluationEnds, const std::vector<uint32_t>& iWrittenEnds,
                              const std::vector<uint32_t>& iWrittenUnits)
{
    const Output& output = _outputs[iOutput];
    const Template& source = _templates[output.templateIndex];
    for (const ExplainMessage& message : iMessages) {
        Message added;
        added.message = message;
        added.output = iOutput;
        if (message.span) added.directive = _ancestry.DirectiveOf(*source.map, *message.span, source.files);
        added.object = ObjectIndex(message.object);
        const int64_t at = message.evaluationOffset;
        if (at >= 0 && iEvaluationEnds.empty()) {
            added.offset = UnitsOf(output.Text(), static_cast<uint32_t>(std::min<int64_t>(at, output.Text().size())));
        } else if (at >= 0) {
            // The piece that was being made: its beginning in the text written.
            const size_t piece =
                std::upper_bound(iEvaluationEnds.begin(), iEvaluationEnds.end(), static_cast<uint32_t>(at)) -
                iEvaluationEnds.begin();
            added.offset = piece == 0 ? 0 : iWrittenUnits[std::min(piece, iWrittenEnds.size()) - 1];
        }
        _messages.push_back(std::move(added));
    }
}

void ExplainPage::AddMessage(const ExplainMessage& iMessage)
{
    Message added;
    added.message = iMessage;
    added.object = ObjectIndex(iMessage.object);
    _messages.push_back(std::move(added));
}

void ExplainPage::CompareWith(const PreviousRun& iPrevious)
{
    _changes.reset(new ExplainChanges(iPrevious, _nodes, _ancestry, _variables));
}

void ExplainPage::SetOutcome(bool iWritten, const std::string& iSummary)
{
    _written = iWritten;
    _summary = iSummary;
}

void ExplainPage::AppendFiles(std::string& ioData) const
{
    // Directive spans in UTF-16 units, found per file.
    const std::vector<OutputAncestry::Directive>& directives = _ancestry.Directives();
    std::vector<uint32_t> begins(directives.size());
    std::vector<uint32_t> ends(directives.size());
    ioData += "\"files\":[";
    for (uint32_t file = 0; file < _files.size(); ++file) {
        std::vector<uint32_t> bytes;
        for (const OutputAncestry::Directive& directive : directives) {
            if (directive.file != file) continue;
            bytes.push_back(directive.begin);
            bytes.push_back(directive.end);
        }
        std::sort(bytes.begin(), bytes.end());
        bytes.erase(std::unique(bytes.begin(), bytes.end()), bytes.end());
        const File& shown = _files[file];
        ioData += file > 0 ? ",{\"name\":" : "{\"name\":";
        ScriptJson::AppendString(ioData, shown.name);
        ioData += ",\"text\":";
        std::vector<uint32_t> units;
        ScriptJson::AppendString(ioData, *shown.text, bytes, units);
        ioData += ",\"from\":";
        if (shown.fromFile >= 0) {
            ioData += '[' + std::to_string(shown.fromFile) + ',' +
                      std::to_string(UnitsOf(*_files[shown.fromFile].text, shown.fromByte)) + ']';
        } else {
            ioData += "null";
        }
        ioData += '}';
        const auto unitsOf = [&](uint32_t iByte) {
            return units[std::lower_bound(bytes.begin(), bytes.end(), iByte) - bytes.begin()];
        };
        for (size_t i = 0; i < directives.size(); ++i) {
            if (directives[i].file != file) continue;
            begins[i] = unitsOf(directives[i].begin);
            ends[i] = unitsOf(directives[i].end);
        }
    }
    ioData += "],\"directives\":";
    PackedNumbers spans(3);
    for (size_t i = 0; i < directives.size(); ++i) {
        spans.Add({directives[i].file, begins[i], static_cast<int64_t>(ends[i]) - begins[i]});
    }
    spans.AppendTo(ioData);
    ioData += ",\"contexts\":";
    PackedNumbers chains(2);
    const std::vector<OutputAncestry::Context>& contexts = _ancestry.Contexts();
    for (size_t i = 1; i < contexts.size(); ++i) {
        chains.Add({static_cast<int64_t>(i) - contexts[i].parent, contexts[i].directive});
    }
    chains.AppendTo(ioData);
}

void ExplainPage::AppendMessages(std::string& ioData) const
{
    ioData += ",\"messages\":[";
    bool first = true;
    for (const Message& added : _messages) {
        const ExplainMessage& message = added.message;
        ioData += first ? "{\"severity\":\"" : ",{\"severity\":\"";
        first = false;
        ioData += SeverityWord(message.severity);
        ioData += '"';
        AppendField(ioData, "text", message.text);
        if (!message.hint.empty()) AppendField(ioData, "hint", message.hint);
        if (message.context) ioData += ",\"context\":true";
        if (message.stop) ioData += ",\"stop\":true";
        AppendField(ioData, "directive", added.directive);
        int32_t output = added.output;
        int32_t file = -1;
        int64_t at = -1;
        int line = 0;
        if (added.directive < 0 && !message.file.empty()) {
            // A place a file message names: a template file, or an output.
            for (size_t i = 0; i < _files.size() && file < 0; ++i) {
                if (_files[i].name != message.file) continue;
                const int64_t byte = OffsetOf(*_files[i].text, message.line, message.column);
                if (byte < 0) continue;
                file = static_cast<int32_t>(i);
                at = UnitsOf(*_files[i].text, static_cast<uint32_t>(byte));
            }
            for (size_t i = 0; i < _outputs.size() && file < 0 && output < 0; ++i) {
                if (_outputs[i].name != message.file) continue;
                output = static_cast<int32_t>(i);
                line = message.line;
            }
        }
        AppendField(ioData, "file", file);
        AppendField(ioData, "at", at);
        AppendField(ioData, "output", output);
        AppendField(ioData, "line", line);
        // A file the page does not show (one refused before it was made)
        // is still named, with its line.
        if (added.directive < 0 && file < 0 && output < 0 && !message.file.empty()) {
            AppendField(ioData, "where",
                        message.file + (message.line > 0 ? ":" + std::to_string(message.line) : std::string()));
        }
        AppendField(ioData, "offset", added.offset);
        AppendField(ioData, "object", added.object);
        ioData += '}';
    }
    ioData += ']';
}

bool ExplainPage::IsPage(const std::string& iText)
{
    // Every page so far opens so and has the program in its title.
    static const std::string kOpening = "<!DOCTYPE html>\n";
    if (iText.compare(0, kOpening.size(), kOpening) != 0) return false;
    const size_t title = iText.find("<title>mttgen");
    return title != std::string::npos && title < iText.find("</head>");
}

std::string ExplainPage::Html(BrowserBudget::Figures* oFigures) const
{
    const std::string page(kExplainPageSource);
    const size_t marker = page.find(kDataMarker);
    // Room for the whole page at once: grown by doubling, a page of 9 MB
    // took 13 MB and a copy. The directive tables, not counted, are small
    // beside the texts.
    size_t estimate = page.size() + _extras.size() + (_shown != nullptr ? _shown->Json().size() : 0) + (64 << 10);
    for (const Output& output : _outputs) {
        estimate += output.name.size() + output.Text().size() + output.Text().size() / 16 + output.pieces.size() +
                    output.userCode.size() * 11 + 128;
    }
    for (const File& file : _files) estimate += file.name.size() + file.text->size() + file.text->size() / 16 + 64;
    estimate += _messages.size() * 256;
    std::string html;
    html.reserve(estimate);
    html.append(page, 0, marker);
    html += _model != nullptr ? "{\"late\":false" : "{\"late\":true";
    html += ",\"outcome\":{\"written\":";
    html += _written ? "true" : "false";
    AppendField(html, "summary", _summary);
    html += "},";
    AppendFiles(html);
    html += ",\"model\":";
    html += _shown != nullptr ? _shown->Json() : std::string("null");
    html += ",\"extras\":[" + _extras + "]";
    html += ",\"outputs\":[";
    BrowserBudget::Figures figures;
    for (size_t i = 0; i < _outputs.size(); ++i) {
        const Output& output = _outputs[i];
        html += i > 0 ? ",{\"name\":" : "{\"name\":";
        ScriptJson::AppendString(html, output.name);
        AppendField(html, "template", static_cast<int64_t>(output.templateIndex));
        html += ",\"status\":\"";
        html += output.status;
        html += "\",\"text\":";
        ScriptJson::AppendString(html, output.Text());
        figures.textBytes += output.Text().size();
        html += ",\"pieces\":";
        html += output.pieces.empty() ? std::string("\"\"") : output.pieces;
        figures.pieces += output.pieceCount;
        html += ",\"userCode\":[";
        for (size_t j = 0; j < output.userCode.size(); ++j) {
            html += (j > 0 ? "," : "") + std::to_string(output.userCode[j]);
        }
        html += ']';
        AppendField(html, "stop", output.stop);
        html += '}';
    }
    html += ']';
    AppendMessages(html);
    AppendField(html, "skipped", static_cast<int64_t>(_skipped));
    html += ",\"variables\":{";
    for (auto variable = _variables.begin(); variable != _variables.end(); ++variable) {
        if (variable != _variables.begin()) html += ',';
        ScriptJson::AppendString(html, variable->first);
        html += ':';
        ScriptJson::AppendString(html, variable->second);
    }
    html += "},\"changes\":";
    html += _changes ? _changes->Json() : std::string("null");
    html += '}';
    html.append(page, marker + std::string(kDataMarker).size(), std::string::npos);
    figures.modelNodes = _nodeCount;
    figures.pageBytes = html.size();
    if (oFigures != nullptr) *oFigures = figures;
    return html;
}
