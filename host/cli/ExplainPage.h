#ifndef EXPLAINPAGE_H
#define EXPLAINPAGE_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "BrowserBudget.h"
#include "ExplainMessage.h"
#include "GeneratedText.h"
#include "OutputAncestry.h"
#include "PackedNumbers.h"
#include "ValueSource.h"

class ExplainChanges;
class ExplainModel;
class JsonModel;
class MTLIModelObject;
class PreviousRun;
class ModelNodeTable;
class SourceMap;

// One self-contained HTML page that relates every piece of generated text
// to the template directive and the model element that produced it, and
// lists what the run said. The page (host/cli/explain) finds its data as
// JSON in a script element:
//   late        true when there is no model (late evaluation)
//   outcome     {written, summary}: whether the run wrote its files
//   files       [{name, text, from}]: the template files of the run, each
//               main one before those it includes; "from" is [FILE, AT],
//               the include directive, or null
//   directives  packed FILE, BEGIN, LENGTH per directive (its span)
//   contexts    packed PARENT DISTANCE, DIRECTIVE per context but the
//               first, the empty chain (see OutputAncestry)
//   model       the document as ModelNodeTable writes it, or null
//   extras      [POINTER, NODE] per model object outside the document (a
//               user-code text), numbered after the document's nodes;
//               NODE is the node shown for it
//   outputs     [{name, template, status, text, pieces, userCode, stop}]:
//               "pieces" packs per output leaf in text order LENGTH,
//               CONTEXT, OBJECT as a difference from the piece before
//               (-1 before the first), and VALUE, the node the piece was
//               read from, as its difference from OBJECT (-2^31: none);
//               "userCode" holds BEGIN,
//               TEXT_BEGIN, TEXT_END, END per user-code section, markers
//               included; "status" is "written", "kept" (written despite
//               errors) or "stopped" (the text as far as evaluation got,
//               without pieces; "stop" is where it stopped)
//   messages    [{severity, text, hint, context, stop, directive, file,
//               at, output, line, offset, object, where}]: a directive, or
//               a place in a template file (FILE, AT); a place in an output
//               (OUTPUT and OFFSET, or LINE); the object current then;
//               "FILE:LINE" of a file the page does not show
//   skipped     how many files were not evaluated after a failure
//   variables   {NAME: VALUE} per -D variable, for a later comparison
//   changes     see ExplainChanges, or null
// Tables are packed as PackedNumbers says. Offsets into texts count UTF-16
// code units, as the browser does; objects are numbered as the model's
// nodes are, -1 for none.
class ExplainPage {
public:
    // iModel is null for late evaluation. It must outlive the page, as
    // iShown must: what the page shows of it, made by the page when null.
    explicit ExplainPage(JsonModel* iModel, ExplainModel* iShown = nullptr);
    ~ExplainPage();

    // A template of the run; returns its number for AddOutput. iMap must
    // outlive the page.
    size_t AddTemplate(const SourceMap& iMap);
    // A generated file: its name as shown, the text written (with its
    // pieces and the shape of the tree it was made from), with the messages
    // of its evaluation. iText must outlive the page.
    void AddOutput(const std::string& iName, size_t iTemplate, const GeneratedText& iText,
                   const std::vector<ExplainMessage>& iMessages, bool iKeptDespiteErrors);
    // A file whose evaluation stopped: the text as far as it got, and the
    // messages of its evaluation.
    void AddStoppedOutput(const std::string& iName, size_t iTemplate, std::string iText,
                          const std::vector<ExplainMessage>& iMessages);
    // A message about the run as a whole, or about files named in it.
    void AddMessage(const ExplainMessage& iMessage);
    void SetSkipped(size_t iFiles) { _skipped = iFiles; }
    void SetOutcome(bool iWritten, const std::string& iSummary);
    // The run's -D variables.
    void SetVariables(const std::map<std::string, std::string>& iVariables) { _variables = iVariables; }
    // Marks what changed since an earlier run in the outputs added from
    // now on. iPrevious must outlive the page.
    void CompareWith(const PreviousRun& iPrevious);
    // No output is added after this: what placed the outputs' pieces in the
    // model (its node table, made for every page of the run) is let go of,
    // and its room is the page's text's. Messages may still be added.
    void OutputsAdded();

    // The page; oFigures, when given, receives what it holds.
    std::string Html(BrowserBudget::Figures* oFigures = nullptr) const;
    // Whether iText is a page as mttgen writes them (any version so far):
    // one that may be replaced without a word. Its opening tells: the
    // first kOpeningBytes of a file are enough.
    static bool IsPage(const std::string& iText);
    static constexpr size_t kOpeningBytes = size_t(64) << 10;

    // The outputs' names and texts and the template files, for
    // ExplainChanges.
    size_t OutputCount() const { return _outputs.size(); }
    const std::string& OutputName(size_t iOutput) const { return _outputs[iOutput].name; }
    std::string_view OutputText(size_t iOutput) const { return _outputs[iOutput].Text(); }

private:
    struct File {
        std::string name;
        const std::string* text;
        int32_t fromFile = -1;  // the including file, -1 for a main one
        uint32_t fromByte = 0;
    };
    struct Template {
        const SourceMap* map;
        std::vector<uint32_t> files;  // the page's number of each file of the map
    };
    struct Output {
        std::string name;
        size_t templateIndex;
        const char* status;
        std::string_view text;  // the file's, unless ownText is
        std::string ownText;    // for a stopped output
        bool ownsText = false;
        // Read at use: an output moves as others are added.
        std::string_view Text() const { return ownsText ? std::string_view(ownText) : text; }
        std::string pieces;  // packed, as JSON
        size_t pieceCount = 0;
        std::vector<uint32_t> userCode;
        int64_t stop = -1;  // units
        size_t firstMessage = 0;
    };
    struct Message {
        ExplainMessage message;
        int32_t directive = -1;
        int32_t output = -1;
        int64_t offset = -1;  // units into the output's text
        int32_t object = -1;
    };

    // The model node an object stands for, or its number among the extras;
    // inline for the object of the piece before, as most pieces' is.
    int32_t ObjectIndex(const MTLIModelObject* iObject)
    {
        return iObject != nullptr && iObject == _lastObject ? _lastIndex : FoundObjectIndex(iObject);
    }
    int32_t FoundObjectIndex(const MTLIModelObject* iObject);
    // The node of an object that stands for a value of the document, -1
    // for another.
    int32_t DocumentIndex(const MTLIModelObject* iObject) const;
    int32_t ExtraIndex(const MTLIModelObject* iObject);
    std::vector<ValueSource::Call> CallsOf(int32_t iContext) const;
    void AddMessages(const std::vector<ExplainMessage>& iMessages, int32_t iOutput,
                     const std::vector<uint32_t>& iEvaluationEnds, const std::vector<uint32_t>& iWrittenEnds,
                     const std::vector<uint32_t>& iWrittenUnits);
    void AppendFiles(std::string& ioData) const;
    void AppendMessages(std::string& ioData) const;

    JsonModel* _model;
    ExplainModel* _shown;
    std::unique_ptr<ExplainModel> _ownShown;
    const ModelNodeTable* _nodes = nullptr;  // the shown model's, null without one or once let go of
    size_t _nodeCount = 0;
    std::unique_ptr<ValueSource> _values;
    OutputAncestry _ancestry;
    std::vector<File> _files;
    std::vector<Template> _templates;
    std::vector<Output> _outputs;
    std::vector<Message> _messages;
    const MTLIModelObject* _lastObject = nullptr;
    int32_t _lastIndex = -1;
    std::unordered_map<const MTLIModelObject*, int32_t> _objectIndexes;
    size_t _extraCount = 0;
    std::string _extras;  // the "extras" items, JSON
    size_t _skipped = 0;
    bool _written = true;
    std::string _summary;
    std::map<std::string, std::string> _variables;
    std::unique_ptr<ExplainChanges> _changes;
};

#endif
