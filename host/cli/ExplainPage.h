#ifndef EXPLAINPAGE_H
#define EXPLAINPAGE_H

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "GeneratedText.h"
#include "OutputAncestry.h"

class JsonModel;
class MTLIModelObject;
class MTTEvaluationOutput;
class ModelNodeTable;
class SourceMap;

// One self-contained HTML page that relates every piece of generated text
// to the template directive and the model element that produced it. The
// page (host/cli/explain) finds its data as JSON in a script element:
//   late        true when there is no model (late evaluation)
//   files       [{name, text, from}]: the template files, the main one
//               first; "from" is FILE:LINE:COLUMN of the include, or null
//   directives  FILE, BEGIN, END, WHERE, LABEL per directive: its span in
//               a file's text, FILE:LINE:COLUMN and a one-line excerpt
//   contexts    PARENT, DIRECTIVE per context (see OutputAncestry)
//   objects     NODE, POINTER per model object that produced text: its
//               index in "model" (-1 when outside it) and JSON pointer
//   model       the document as ModelNodeTable writes it, or null
//   outputs     [{name, text, pieces, userCode}]: "pieces" holds LENGTH,
//               CONTEXT, OBJECT per output leaf in text order, a piece
//               beginning where the one before ends; OBJECT is the object's
//               index (-1 for none) minus the one of the piece before (-1
//               before the first): long outputs repeat objects, and small
//               numbers keep the page small. "userCode" holds BEGIN,
//               TEXT_BEGIN, TEXT_END, END per user-code section, markers
//               included.
// Offsets into texts count UTF-16 code units, as the browser does.
class ExplainPage {
public:
    // iModel is null for late evaluation. Both must outlive the page.
    ExplainPage(const SourceMap& iMap, JsonModel* iModel);
    ~ExplainPage();

    // Adds one generated file: its name as shown, the text written (with
    // its pieces), and the output tree it was made from. Neither needs to
    // outlive the call.
    void AddOutput(const std::string& iName, const GeneratedText& iText, MTTEvaluationOutput* iRoot);

    // The page's HTML.
    std::string Html() const;

private:
    int32_t ObjectIndex(const MTLIModelObject* iObject);

    const SourceMap& _map;
    JsonModel* _model;
    std::unique_ptr<ModelNodeTable> _nodes;
    OutputAncestry _ancestry;
    std::unordered_map<const MTLIModelObject*, int32_t> _objectIndexes;
    std::string _objects;               // the "objects" items, JSON
    std::vector<std::string> _outputs;  // one JSON object each
};

#endif
