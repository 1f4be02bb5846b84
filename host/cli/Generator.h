#ifndef GENERATOR_H
#define GENERATOR_H

#include <memory>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "Options.h"
#include "ParseOptions.h"

class GeneratedFile;
class JsonModel;
class MTLIModelObject;
class MTTIStatement;
class OutputFile;
class SourceMap;

// One mttgen run: check the files, parse, optionally normalise or dump,
// evaluate once per output file, keep the files' user code, write all or
// nothing, trace and explain.
class Generator {
public:
    explicit Generator(const Options& iOptions);
    ~Generator();
    ExitStatus Run();

private:
    // The template (or, for iWhat "--output", a file name template).
    std::unique_ptr<MTTIStatement> Parse(const std::string& iName, std::string iSource, const ParseOptions& iParsing,
                                         std::unique_ptr<SourceMap>& oMap, ExitStatus& oStatus) const;
    // The --each elements and their file names.
    ExitStatus EachTarget(JsonModel& iModel, std::vector<MTLIModelObject*>& oElements,
                          std::vector<std::string>& oNames) const;
    ExitStatus WriteAll(JsonModel* iModel);
    ExitStatus PrepareTraceAndPage(JsonModel* iModel);

    const Options& _options;
    std::unique_ptr<SourceMap> _map;
    std::vector<std::unique_ptr<GeneratedFile>> _files;
    std::unique_ptr<OutputFile> _traceFile;
    std::unique_ptr<OutputFile> _pageFile;
    std::string _trace;
};

#endif
