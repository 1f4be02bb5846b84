#ifndef GENERATOR_H
#define GENERATOR_H

#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "ExplainMessage.h"
#include "ExplainModel.h"
#include "ExplainPage.h"
#include "MttFileSet.h"
#include "MttTemplate.h"
#include "Options.h"

class JsonModel;
class MTLIModelObject;
class PreviousRun;

namespace mtt {
class Model;
}

// One mttgen run: parse the templates, optionally normalise or dump, load
// the model, name the output files, render each into the run's file set
// (which keeps their user code and writes them all or none), or only say
// what would change (--check); trace, explain, and list what was read
// (--depfile).
class Generator {
public:
    explicit Generator(const Options& iOptions);
    ~Generator();
    ExitStatus Run();

private:
    // One file to render: a template (its job) and the element it is for.
    struct Target {
        size_t job;
        MTLIModelObject* element;  // null: the root
        int index;                 // its position in the --each list
        int count;                 // the size of that list
        std::string name;          // empty: the standard output
    };

    // A template (for iName "--output", a file name template), or null
    // after its syntax errors were printed.
    static std::unique_ptr<mtt::Template> Parse(const std::string& iName, const std::string& iSource,
                                                const mtt::TemplateOptions& iOptions);
    ExitStatus CheckDistinct() const;
    ExitStatus ParseTemplates();
    std::unique_ptr<mtt::Model> LoadModel(ExitStatus& oStatus) const;
    // The size of the model file; 0 for standard input or where it is unknown.
    uintmax_t ModelFileBytes() const;
    // "element 2 of 4 in --each classes (/classes/1)": counted from 1, as a
    // person counts the files, with the model pointer for the exact place.
    std::string EachElement(int iIndex, int iCount, const MTLIModelObject* iElement) const;
    // The --each elements of job iJob and their file names.
    ExitStatus EachTarget(mtt::Model& iModel, size_t iJob, std::vector<Target>& ioTargets) const;
    mtt::FileSetOptions FileOptions() const;
    ExitStatus Render(mtt::FileSet& ioFiles, mtt::Model* ioModel, const std::vector<Target>& iTargets,
                      bool& oReportedErrors);
    // What the explain page lists of a render: its messages, with the
    // template text, the model object and the place in the text behind
    // each; for a failed one, the text as far as it got.
    void Explain(size_t iTarget, const mtt::Template& iTemplate, mtt::Model* ioModel,
                 const mtt::RenderOptions& iOptions, const mtt::RenderResult& iResult, bool iStopped);
    // Reads the file of every target as it is now, before anything is
    // evaluated.
    ExitStatus AddTargets(mtt::FileSet& ioFiles, const std::vector<Target>& iTargets);
    // Compares instead of writing (--check, --diff).
    ExitStatus Check(mtt::FileSet& ioFiles) const;
    // The trace and the page, as texts for their files or streams.
    std::string TraceText(const mtt::FileSet& iFiles, mtt::Model* iModel) const;
    std::string PageText(const mtt::FileSet& iFiles, const std::vector<Target>& iTargets, mtt::Model* iModel,
                         const std::string& iOutcome, bool iWritten) const;
    // The same in two steps: the page with the outputs, then its text with
    // the file set's messages from iFirstMessage on and the outcome. A page
    // is made once and its text written again when writing the files had
    // more to say: its outputs' pieces are let go of in between.
    std::unique_ptr<ExplainPage> MakePage(const mtt::FileSet& iFiles, const std::vector<Target>& iTargets,
                                          mtt::Model* iModel) const;
    std::string PageHtml(ExplainPage& ioPage, size_t iFirstMessage, const std::string& iOutcome, bool iWritten) const;
    // The page put in place on its own: for a run that writes nothing else
    // (iSay: saying so), or again after the files were written.
    ExitStatus WritePageAlone(const std::string& iPage, bool iSay = true) const;
    std::string DepFileText(const std::vector<Target>& iTargets) const;
    void StartShownModel(const JsonModel& iModel);

    const Options& _options;
    std::vector<std::unique_ptr<mtt::Template>> _templates;  // one per job
    std::string _root;                                       // the output folder, as written
    std::vector<std::string> _runs;                          // per job: its -o name in the manifest
    // For the explain page, per target evaluated: its messages, and the
    // text as far as it got when evaluation stopped.
    struct Evaluation {
        std::vector<ExplainMessage> messages;
        bool kept = false;
        bool stopped = false;
        std::string stoppedText;
    };
    std::vector<Evaluation> _evaluations;
    std::shared_ptr<std::vector<mtt::FileMessage>> _fileMessages;
    // The file set's messages while a file is read past the first few
    // refused: dropped when it is refused too, told when it fails otherwise.
    struct HeldMessages {
        bool holding = false;
        std::vector<mtt::FileMessage> messages;
    };
    std::shared_ptr<HeldMessages> _heldFileMessages;
    std::unique_ptr<PreviousRun> _previous;  // --explain-since
    // What a run builds lives as long as the generator, which a successful
    // run never takes apart (see main).
    std::unique_ptr<mtt::Model> _model;
    std::unique_ptr<mtt::FileSet> _files;  // after _model: its outputs point into it
    // What the explain page shows of the model, made on another thread
    // while the templates are evaluated; after _model, which it reads.
    std::shared_future<std::unique_ptr<ExplainModel>> _shownModel;
};

#endif
