#ifndef GENERATOR_H
#define GENERATOR_H

#include <memory>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "Options.h"
#include "UserCodeSections.h"

class GeneratedText;
class JsonModel;
class MTTEvaluationOutput;
class MTTIStatement;
class OutputFile;
class SourceMap;

// One mttgen run: check the files, parse, optionally normalise or dump,
// evaluate, keep the existing file's user code, write, trace.
class Generator {
public:
    explicit Generator(const Options& iOptions);
    ~Generator();
    ExitStatus Run();

private:
    ExitStatus Evaluate(MTTIStatement* iTree, JsonModel* iModel, std::unique_ptr<MTTEvaluationOutput>& oOutput);
    // Decides every user-code section's text from the existing file's
    // sections; what has no place left is an orphan (refused without --force).
    ExitStatus KeepUserCode(GeneratedText& ioText, const std::vector<UserCodeSections::Section>& iExisting);
    ExitStatus CheckReadBack(const GeneratedText& iText) const;
    ExitStatus Write(const GeneratedText& iText, MTTEvaluationOutput* iRoot, OutputFile* iFile, JsonModel* iModel);

    const Options& _options;
    std::unique_ptr<SourceMap> _map;
    std::vector<UserCodeSections::Section> _orphans;
};

#endif
