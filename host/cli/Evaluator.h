#ifndef EVALUATOR_H
#define EVALUATOR_H

#include <memory>
#include <string>
#include <vector>

class JsonModel;
class MTLIModelObject;
class MTTEvaluationOutput;
class MTTIStatement;
class SourceMap;

// Evaluates a template for mttgen: immediately against the JSON model or
// late into C++, each time in a fresh environment holding the -D
// variables, with the library's messages moved to standard error and
// followed by the template position behind them.
class Evaluator {
public:
    // iModel is null for late evaluation. iDefines: "name=value" texts.
    Evaluator(const SourceMap& iMap, JsonModel* iModel, std::vector<std::string> iDefines);

    // The output (the caller owns it), or null when evaluation failed.
    // iCurrent, when not null, is the current object (an --each element).
    // oErrors counts the messages the library printed.
    std::unique_ptr<MTTEvaluationOutput> Run(MTTIStatement* iTree, MTLIModelObject* iCurrent, int& oErrors) const;

private:
    const SourceMap& _map;
    JsonModel* _model;
    std::vector<std::string> _defines;
};

#endif
