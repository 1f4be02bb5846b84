#ifndef EXPLAINPAGE_H
#define EXPLAINPAGE_H

#include <string>
#include <vector>

#include "GeneratedText.h"

class JsonModel;
class MTTEvaluationOutput;
class SourceMap;

// One self-contained HTML page that relates every piece of generated text
// to the template directive and the model element that produced it.
class ExplainPage {
public:
    // iModel is null for late evaluation. Both must outlive the page.
    ExplainPage(const SourceMap& iMap, const JsonModel* iModel);

    // Adds one generated file: its name as shown, the text written (with
    // its pieces), and the output tree it was made from.
    void AddOutput(const std::string& iName, const GeneratedText& iText, MTTEvaluationOutput* iRoot);

    // The page's HTML.
    std::string Html() const;

private:
    const SourceMap& _map;
    const JsonModel* _model;
    std::vector<std::string> _outputs;
};

#endif
