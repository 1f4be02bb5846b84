#ifndef GENERATOR_H
#define GENERATOR_H

#include <memory>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "Options.h"

class JsonModel;
class MTTEvaluationOutputLeaf;
class MTTIStatement;

// One mttgen run: parse, optionally normalise, dump or evaluate, keep the
// existing file's user code, write, trace.
class Generator {
public:
    explicit Generator(const Options& iOptions);
    ExitStatus Run();

private:
    // The text written for each leaf: its own, or kept user code. Refuses
    // (kExitUserCodeConflict) or fails to read (kExitBadInput) otherwise.
    ExitStatus DecideTexts(const std::vector<MTTEvaluationOutputLeaf*>& iLeaves,
                           std::vector<std::string>& oTexts) const;
    ExitStatus Write(const std::string& iText, const std::vector<std::string>& iUserCode) const;
    ExitStatus WriteTrace(const JsonModel* iModel, const std::vector<MTTEvaluationOutputLeaf*>& iLeaves,
                          const std::vector<std::string>& iTexts) const;
    ExitStatus Evaluate(MTTIStatement* iTree, JsonModel* iModel) const;

    const Options& _options;
    bool _hasExistingOutput;
    std::string _existingOutput;
};

#endif
