#include "Evaluator.h"

#include "CppLateEvaluator.h"
#include "EvaluationReporter.h"
#include "JsonModel.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "StdoutDiversion.h"

Evaluator::Evaluator(const SourceMap& iMap, JsonModel* iModel, std::vector<std::string> iDefines)
    : _map(iMap), _model(iModel), _defines(std::move(iDefines)) {}

std::unique_ptr<MTTEvaluationOutput> Evaluator::Run(MTTIStatement* iTree, MTLIModelObject* iCurrent,
                                                    int& oErrors) const {
    // The environment borrows the late evaluator, so it goes first.
    CppLateEvaluator lateEvaluator;
    std::unique_ptr<MTTEvaluationEnvironment> environment(
        _model == nullptr ? new MTTEvaluationEnvironment(&lateEvaluator) : new MTTEvaluationEnvironment(_model->Root()));
    for (const std::string& define : _defines) {
        const size_t equals = define.find('=');
        environment->AddVariable(MTTString(define.substr(0, equals).c_str()),
                                 MTTString(define.substr(equals + 1).c_str()), MTTVarString);
    }
    if (iCurrent != nullptr) environment->PushScope(iCurrent);
    std::unique_ptr<MTTEvaluationOutput> output;
    StdoutDiversion diversion;
    EvaluationReporter reporter(_map);
    output.reset(_model == nullptr ? iTree->LateEvaluate(environment.get()) : iTree->Evaluate(environment.get()));
    oErrors = reporter.Errors();
    return output;
}
