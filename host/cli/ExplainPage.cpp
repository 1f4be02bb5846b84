#include "ExplainPage.h"

ExplainPage::ExplainPage(const SourceMap& iMap, const JsonModel* iModel) : _map(iMap), _model(iModel) {}

void ExplainPage::AddOutput(const std::string& iName, const GeneratedText&, MTTEvaluationOutput*) {
    _outputs.push_back(iName);
}

std::string ExplainPage::Html() const {
    return "<!DOCTYPE html>\n<html><body>not yet</body></html>\n";
}
