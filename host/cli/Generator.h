#ifndef GENERATOR_H
#define GENERATOR_H

#include <memory>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "MttFileSet.h"
#include "MttTemplate.h"
#include "Options.h"

class MTLIModelObject;

namespace mtt {
class Model;
}

// One mttgen run: parse, optionally normalise or dump, load the model,
// name the output files, render each into the run's file set (which keeps
// their user code and writes them all or none), trace and explain.
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
    std::unique_ptr<mtt::Model> LoadModel(ExitStatus& oStatus) const;
    // The --each elements and their file names.
    ExitStatus EachTarget(mtt::Model& iModel, std::vector<MTLIModelObject*>& oElements,
                          std::vector<std::string>& oNames) const;
    // The folder the outputs stay inside, and the run's name in its record.
    void OutputRoot(std::string& oRoot, std::string& oRun) const;
    mtt::FileSetOptions FileOptions() const;
    // oReportedErrors: a render reported errors and --keep-going kept it.
    ExitStatus Render(mtt::FileSet& ioFiles, mtt::Model* ioModel, const std::vector<MTLIModelObject*>& iElements,
                      const std::vector<std::string>& iNames, bool& oReportedErrors);
    // The trace and the page, as texts for their files or streams.
    std::string TraceText(const mtt::FileSet& iFiles, mtt::Model* iModel) const;
    std::string PageText(const mtt::FileSet& iFiles, size_t iCount, mtt::Model* iModel) const;

    const Options& _options;
    std::unique_ptr<mtt::Template> _template;
};

#endif
