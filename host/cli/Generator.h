#ifndef GENERATOR_H
#define GENERATOR_H

#include <memory>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "MttTemplate.h"
#include "Options.h"

class GeneratedFile;
class MTLIModelObject;
class MTTEvaluationOutput;
class OutputFile;
class UserCodeKeys;

namespace mtt {
class Model;
}

// One mttgen run: check the files, parse, optionally normalise or dump,
// evaluate once per output file, keep the files' user code, write all or
// nothing, trace and explain.
class Generator {
public:
    explicit Generator(const Options& iOptions);
    ~Generator();
    ExitStatus Run();

private:
    // A template (for iName "--output", a file name template), or null
    // after its syntax errors were printed.
    static std::unique_ptr<mtt::Template> Parse(const std::string& iName, const std::string& iSource,
                                                const mtt::TemplateOptions& iOptions);
    // Evaluates into a file's output tree (iTree) or straight to its text,
    // printing the position of each library message; false when evaluation
    // failed, with oEvaluated true when it still gave an output.
    bool Evaluate(const mtt::Template& iTemplate, mtt::Model* ioModel, MTLIModelObject* iCurrent, bool iTree,
                  std::unique_ptr<MTTEvaluationOutput>& oOutput, std::string& oText, bool& oEvaluated) const;
    // Evaluates for file i and builds its text.
    ExitStatus Generate(size_t iFile, mtt::Model* ioModel, MTLIModelObject* iCurrent, const std::string& iName,
                        const UserCodeKeys& iKeys, ExitStatus& ioOutcome);
    // The --each elements and their file names.
    ExitStatus EachTarget(mtt::Model& iModel, std::vector<MTLIModelObject*>& oElements,
                          std::vector<std::string>& oNames) const;
    ExitStatus WriteAll(mtt::Model* iModel);
    ExitStatus PrepareTraceAndPage(mtt::Model* iModel);

    const Options& _options;
    std::unique_ptr<mtt::Template> _template;
    std::vector<std::unique_ptr<GeneratedFile>> _files;
    std::unique_ptr<OutputFile> _traceFile;
    std::unique_ptr<OutputFile> _pageFile;
    std::string _trace;
};

#endif
