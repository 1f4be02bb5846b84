#include "Generator.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

#include "DepFile.h"
#include "DistinctFiles.h"
#include "ExplainPage.h"
#include "MessageTally.h"
#include "GeneratedFile.h"
#include "JsonModel.h"
#include "HeapSizing.h"
#include "MTLIModelObject.h"
#include "MessageProbe.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTIExpression.h"
#include "MTTIStatement.h"
#include "MttModel.h"
#include "OutputNames.h"
#include "PreviousRun.h"
#include "SourceMap.h"
#include "TextFile.h"
#include "TraceWriter.h"
#include "UnifiedDiff.h"

namespace {

void ReportError(const std::string& iMessage)
{
    std::fprintf(stderr, "mttgen: error: %s\n", iMessage.c_str());
}

void PrintMessage(const mtt::FileMessage& iMessage)
{
    std::fputs(iMessage.ToString("mttgen").c_str(), stderr);
}

// What the file set says: printed, and kept for the page when there is one.
void TellFileMessage(const mtt::FileMessage& iMessage, std::vector<mtt::FileMessage>* ioKept)
{
    PrintMessage(iMessage);
    if (ioKept != nullptr) ioKept->push_back(iMessage);
}

bool WriteStream(FILE* iStream, const std::string& iText)
{
    return std::fwrite(iText.data(), 1, iText.size(), iStream) == iText.size() && std::fflush(iStream) == 0;
}

std::map<std::string, std::string> Variables(const std::vector<std::string>& iDefines)
{
    std::map<std::string, std::string> variables;
    for (const std::string& define : iDefines) {
        const size_t equals = define.find('=');
        variables[define.substr(0, equals)] = define.substr(equals + 1);
    }
    return variables;
}

ExitStatus StatusOf(mtt::FileSetStatus iStatus)
{
    switch (iStatus) {
    case mtt::FileSetStatus::kOk: return kExitSuccess;
    case mtt::FileSetStatus::kWriteFailed: return kExitEvaluationFailed;
    case mtt::FileSetStatus::kBadInput: return kExitBadInput;
    case mtt::FileSetStatus::kRefused: break;
    }
    return kExitUserCodeConflict;
}

// A trace, page or dependency file that cannot be added: someone's file
// there is refused as a hand-edited output is; the rest is bad input.
ExitStatus PlainStatus(mtt::FileSetStatus iStatus)
{
    return iStatus == mtt::FileSetStatus::kRefused ? StatusOf(iStatus) : kExitBadInput;
}

std::string Files(size_t iCount)
{
    return std::to_string(iCount) + (iCount == 1 ? " file" : " files");
}

}  // namespace

Generator::Generator(const Options& iOptions)
    : _options(iOptions),
      _fileMessages(std::make_shared<std::vector<mtt::FileMessage>>()),
      _heldFileMessages(std::make_shared<HeldMessages>())
{
}

Generator::~Generator() {}

std::unique_ptr<mtt::Template> Generator::Parse(const std::string& iName, const std::string& iSource,
                                                const mtt::TemplateOptions& iOptions)
{
    std::vector<TemplateError> errors;
    std::unique_ptr<mtt::Template> parsed = mtt::Template::FromString(iSource, iName, errors, iOptions);
    for (const TemplateError& error : errors) std::fputs(error.ToString().c_str(), stderr);
    return parsed;
}

ExitStatus Generator::CheckDistinct() const
{
    // Before anything is read: an output over an input would destroy it.
    std::vector<std::pair<std::string, std::string>> files;
    for (const Options::Job& job : _options.jobs) files.emplace_back("template", job.templatePath);
    files.emplace_back("model", _options.modelPath);
    for (const Options::Job& job : _options.jobs) {
        if (_options.eachPath.empty() && !job.WritesToStandardOutput()) files.emplace_back("output", job.outputPath);
    }
    files.emplace_back("trace file", _options.traceFile);
    files.emplace_back("explain page", _options.explainPath);
    files.emplace_back("dependency file", _options.depFile);
    DistinctFiles distinct;
    std::string error;
    for (const auto& file : files) {
        const bool read = file.first == "template" || file.first == "model";
        if (!distinct.Add(file.first, file.second, error, read)) {
            ReportError(error + "; nothing written");
            return kExitBadInput;
        }
    }
    return kExitSuccess;
}

ExitStatus Generator::ParseTemplates()
{
    mtt::TemplateOptions parsing;
    parsing.late = _options.late;
    parsing.strict = _options.strict;
    parsing.includeDirs = _options.includeDirs;
    for (const auto& variable : Variables(_options.defines)) parsing.variables.push_back(variable.first);
    for (const Options::Job& job : _options.jobs) {
        std::string source;
        std::string error;
        if (!TextFile::Read(job.templatePath, source, error)) {
            ReportError(error);
            return kExitBadInput;
        }
        _templates.push_back(Parse(job.templatePath, source, parsing));
        if (!_templates.back()) return kExitBadInput;
        if (_options.normalize && _templates.back()->Tree()->Normalize() != S_OK) {
            ReportError("normalising the template failed");
            return kExitEvaluationFailed;
        }
    }
    return kExitSuccess;
}

ExitStatus Generator::Run()
{
    ExitStatus status = CheckDistinct();
    if (status == kExitSuccess) status = ParseTemplates();
    if (status != kExitSuccess) return status;
    if (_options.dump) {
        const MTTString dump = _templates.front()->Tree()->ToString();
        std::fwrite(dump.ConvertToChar(), 1, dump.Length(), stdout);
        std::fputc('\n', stdout);
        return kExitSuccess;
    }
    _model = LoadModel(status);
    if (status != kExitSuccess) return status;
    mtt::Model* const model = _model.get();
    const bool explain = !_options.explainPath.empty() && !_options.check;
    if (explain && model != nullptr) StartShownModel(model->Json());
    if (!_options.explainSince.empty()) {
        // Read now: the run may replace it (the page it wrote last time).
        _previous.reset(new PreviousRun());
        std::string error;
        if (!_previous->Load(_options.explainSince, error)) {
            std::fprintf(stderr, "mttgen: warning: --explain-since: %s; the page marks no changes\n", error.c_str());
            _previous.reset();
        }
    }

    // What to write: a file (or the standard output) per template, or one
    // per element of the --each list.
    const bool each = !_options.eachPath.empty();
    std::vector<Target> targets;
    std::vector<std::string> names;
    for (size_t job = 0; job < _options.jobs.size(); ++job) {
        const Options::Job& given = _options.jobs[job];
        if (!given.WritesToStandardOutput()) names.push_back(given.outputPath);
        if (each) {
            status = EachTarget(*model, job, targets);
            if (status != kExitSuccess) return status;
        } else {
            targets.push_back(
                Target{job, nullptr, 0, 1, given.WritesToStandardOutput() ? std::string() : given.outputPath});
        }
    }
    // An element's files together (its header, then its source), in the
    // order of the list: what a run reports of them, and the page, read so.
    if (each) {
        std::stable_sort(targets.begin(), targets.end(),
                         [](const Target& iA, const Target& iB) { return iA.index < iB.index; });
    }
    _root = OutputNames::Root(names, _options.outputRoot);
    for (const Options::Job& job : _options.jobs) _runs.push_back(OutputNames::Run(job.outputPath, _root));
    _files.reset(new mtt::FileSet(FileOptions()));
    mtt::FileSet& files = *_files;
    // An --each list may be empty now: the files it gave before are still
    // checked.
    for (size_t job = 0; each && job < _options.jobs.size(); ++job) {
        if (_options.jobs[job].WritesToStandardOutput()) continue;
        const mtt::FileSetStatus named = files.AddRun(_runs[job]);
        if (named != mtt::FileSetStatus::kOk) return StatusOf(named);
    }
    status = AddTargets(files, targets);
    if (status != kExitSuccess) {
        // The page says so too: one left by an earlier run would show that
        // run's files as written.
        if (explain) WritePageAlone(PageText(files, {}, model, "Nothing was written: the files were refused.", false));
        return status;
    }
    const bool traceToFile = !_options.traceFile.empty() && !_options.TracesToStandardOutput();
    const bool pageToFile = !_options.explainPath.empty() && _options.explainPath != "-";
    // Written with the outputs, unless nothing is (--check).
    // A file there that is not one of these is someone's.
    // A page is told by its opening (ours: the rest is not read whole).
    const struct {
        bool wanted;
        const char* role;
        const std::string& path;
        bool (*ours)(const std::string&);
        size_t opening;
    } plains[] = {{traceToFile, "trace file", _options.traceFile, &TraceWriter::IsTrace, 0},
                  {pageToFile, "explain page", _options.explainPath, &ExplainPage::IsPage, ExplainPage::kOpeningBytes},
                  {!_options.depFile.empty(), "dependency file", _options.depFile, &DepFile::IsDepFile, 0}};
    for (const auto& plain : plains) {
        if (!plain.wanted || _options.check) continue;
        const mtt::FileSetStatus added = files.AddPlain(plain.path, plain.role, plain.ours, plain.opening);
        if (added != mtt::FileSetStatus::kOk) return PlainStatus(added);
    }
    bool reportedErrors = false;
    status = Render(files, model, targets, reportedErrors);
    if (status != kExitSuccess) {
        // Nothing is written but the page, which shows why.
        if (explain) {
            const bool stopped = !_evaluations.empty() && _evaluations.back().stopped;
            WritePageAlone(PageText(files, targets, model,
                                    stopped ? "Nothing was written: evaluation stopped."
                                            : "Nothing was written: the files were refused.",
                                    false));
        }
        return status;
    }
    if (_options.check) return Check(files);
    const ExitStatus outcome = reportedErrors ? kExitEvaluationFailed : kExitSuccess;

    const std::string trace = _options.trace ? TraceText(files, model) : std::string();
    const std::string written = reportedErrors ? "Written despite errors (--keep-going)." : "Written.";
    const std::unique_ptr<ExplainPage> shown = explain ? MakePage(files, targets, model) : nullptr;
    // Placed by now: what placed the pieces (the outputs' shapes, the
    // model's node table) takes several times the text, room that the
    // page's text can have.
    if (shown) shown->OutputsAdded();
    files.ForgetPieces();
    std::string page = shown ? PageHtml(*shown, 0, written, true) : std::string();
    size_t plain = targets.size();
    if (traceToFile) files.SetPlainText(plain++, trace);
    if (pageToFile) files.SetPlainText(plain++, std::move(page));
    if (!_options.depFile.empty()) files.SetPlainText(plain++, DepFileText(targets));
    const size_t heard = _fileMessages->size();
    status = StatusOf(files.Commit());
    if (status != kExitSuccess) {
        if (explain) WritePageAlone(PageHtml(*shown, heard, "Nothing was written: the files were refused.", false));
        return status;
    }
    // What writing the files said (kept copies, files of gone elements)
    // comes after the page's text was made: it is made again to list it.
    if (explain && pageToFile && _fileMessages->size() > heard) {
        WritePageAlone(PageHtml(*shown, heard, written, true), false);
    }
    if (each) {
        std::fprintf(stderr, "mttgen: %s: %zu written, %zu unchanged\n", Files(targets.size()).c_str(), files.Written(),
                     targets.size() - files.Written());
    }
    if (_options.trace && !traceToFile && !WriteStream(_options.TracesToStandardOutput() ? stdout : stderr, trace)) {
        ReportError("cannot write the trace");
        return kExitEvaluationFailed;
    }
    if (_options.explainPath == "-" && !WriteStream(stdout, page)) {
        ReportError("cannot write the explain page to standard output");
        return kExitEvaluationFailed;
    }
    return outcome;
}

ExitStatus Generator::AddTargets(mtt::FileSet& ioFiles, const std::vector<Target>& iTargets)
{
    // Past these, refused files are counted, not described: a folder run
    // through a formatter refuses every file.
    const size_t kRefusedShown = 10;
    const bool each = !_options.eachPath.empty();
    std::vector<mtt::FileMessage>* const kept = _options.explainPath.empty() ? nullptr : _fileMessages.get();
    size_t refused = 0;
    for (size_t i = 0; i < iTargets.size(); ++i) {
        HeldMessages& held = *_heldFileMessages;
        held.holding = refused >= kRefusedShown;
        const size_t before = ioFiles.Size();
        const mtt::FileSetStatus added = ioFiles.Add(iTargets[i].name, !each, _runs[iTargets[i].job]);
        held.holding = false;
        std::vector<mtt::FileMessage> heard;
        heard.swap(held.messages);
        if (added == mtt::FileSetStatus::kOk) continue;
        // A file read and refused (it joined the set) leaves the others to
        // be read, so that one run names every file changed by hand; any
        // other failure stops here, and always says why.
        const bool refusedHere = added == mtt::FileSetStatus::kRefused && ioFiles.Size() > before;
        if (refusedHere && refused >= kRefusedShown) {
            ++refused;
            continue;
        }
        for (const mtt::FileMessage& message : heard) TellFileMessage(message, kept);
        if (each) {
            std::fprintf(stderr, "mttgen: note: the file of %s\n",
                         EachElement(iTargets[i].index, iTargets[i].count, iTargets[i].element).c_str());
        }
        if (!refusedHere) return StatusOf(added);
        ++refused;
    }
    if (refused == 0) return kExitSuccess;
    if (refused > kRefusedShown) {
        ReportError(std::to_string(refused - kRefusedShown) + " more of the files were refused (not shown)");
    }
    if (refused > 1) {
        std::fprintf(stderr, "mttgen: %s: %zu refused; nothing written\n", Files(iTargets.size()).c_str(), refused);
    }
    return StatusOf(mtt::FileSetStatus::kRefused);
}

ExitStatus Generator::Check(mtt::FileSet& ioFiles) const
{
    std::vector<mtt::FileSet::Change> changes;
    const ExitStatus status = StatusOf(ioFiles.Check(changes));
    if (status != kExitSuccess) return status;
    for (const mtt::FileSet::Change& change : changes) {
        const char* what = change.kind == mtt::FileSet::Change::Kind::kCreated   ? "would be created"
                           : change.kind == mtt::FileSet::Change::Kind::kRemoved ? "would be removed"
                                                                                 : "is out of date";
        std::fprintf(stderr, "mttgen: '%s' %s\n", change.path.c_str(), what);
        if (!_options.diff) continue;
        const bool created = change.kind == mtt::FileSet::Change::Kind::kCreated;
        const bool removed = change.kind == mtt::FileSet::Change::Kind::kRemoved;
        const std::string diff = UnifiedDiff::Of(change.before, change.after, created ? "/dev/null" : change.path,
                                                 removed ? "/dev/null" : change.path);
        if (!WriteStream(stdout, diff)) {
            ReportError("cannot write the differences to standard output");
            return kExitEvaluationFailed;
        }
    }
    if (changes.empty()) {
        std::fprintf(stderr, "mttgen: %s up to date\n", Files(ioFiles.Size()).c_str());
        return kExitSuccess;
    }
    std::fprintf(stderr, "mttgen: %s would change (--check writes nothing)\n", Files(changes.size()).c_str());
    return kExitEvaluationFailed;
}

void Generator::StartShownModel(const JsonModel& iModel)
{
    const auto make = [&iModel] { return ExplainModel::Of(iModel); };
    try {
        _shownModel = std::async(std::launch::async, make).share();
    } catch (const std::system_error&) {
        _shownModel = std::async(std::launch::deferred, make).share();  // no thread to be had
    }
}

uintmax_t Generator::ModelFileBytes() const
{
    if (_options.modelPath.empty() || _options.modelPath == "-") return 0;
    std::error_code error;
    const uintmax_t bytes = std::filesystem::file_size(_options.modelPath, error);
    return error ? 0 : bytes;
}

std::unique_ptr<mtt::Model> Generator::LoadModel(ExitStatus& oStatus) const
{
    std::unique_ptr<mtt::Model> model;
    if (_options.late) return model;
    // A loaded model takes some twenty times its JSON text.
    const uintmax_t modelBytes = ModelFileBytes();
    HeapSizing::Prepare(modelBytes == 0 ? size_t(64) << 20 : 24 * static_cast<size_t>(modelBytes));
    std::string error;
    const mtt::ModelFormat format = _options.modelFormat == "yaml"   ? mtt::ModelFormat::kYaml
                                    : _options.modelFormat == "json" ? mtt::ModelFormat::kJson
                                                                     : mtt::ModelFormat::kByName;
    if (_options.modelPath == "-") {
        std::string text;
        if (!TextFile::Read("-", text, error)) {
            ReportError(error);
            oStatus = kExitBadInput;
            return nullptr;
        }
        model = mtt::Model::FromText(text, "<stdin>", error, format);
    } else {
        model = mtt::Model::FromFile(_options.modelPath, error, format);
    }
    if (!model) {
        std::fprintf(stderr, "%s\n", error.c_str());
        oStatus = kExitBadInput;
        return model;
    }
    HeapSizing::Loaded();
    return model;
}

mtt::FileSetOptions Generator::FileOptions() const
{
    mtt::FileSetOptions options;
    options.commentSyntax = _options.commentSyntax;
    options.keyMembers = _options.keyMembers;
    options.force = _options.force;
    options.prune = _options.prune;
    options.keepGoing = _options.keepGoing;
    options.root = _root;
    for (const Options::Job& job : _options.jobs) options.inputs.emplace_back("template", job.templatePath);
    options.inputs.emplace_back("model", _options.modelPath);
    const std::shared_ptr<std::vector<mtt::FileMessage>> kept = _options.explainPath.empty() ? nullptr : _fileMessages;
    const std::shared_ptr<HeldMessages> held = _heldFileMessages;
    options.onMessage = [kept, held](const mtt::FileMessage& iMessage) {
        if (held->holding) {
            held->messages.push_back(iMessage);
        } else {
            TellFileMessage(iMessage, kept.get());
        }
    };
    return options;
}

ExitStatus Generator::Render(mtt::FileSet& ioFiles, mtt::Model* ioModel, const std::vector<Target>& iTargets,
                             bool& oReportedErrors)
{
    mtt::RenderOptions rendering;
    rendering.variables = Variables(_options.defines);
    // What the trace and the page show of each piece: no tree needed.
    rendering.shape = _options.trace || !_options.explainPath.empty();
    // An output of its own is seldom much larger than its model: its text
    // is reserved at the model's size. That takes address space, not
    // memory (pages are used as the text grows), and spares the copies of
    // a doubling buffer. A file being replaced gives its own size instead.
    if (_options.eachPath.empty()) rendering.sizeHint = static_cast<size_t>(ModelFileBytes());
    // A message that every file of the run repeats is printed once, its
    // count when the renders are over.
    const std::shared_ptr<mtt::MessageTally> printed = std::make_shared<mtt::MessageTally>();
    rendering.printed = printed;
    for (size_t i = 0; i < iTargets.size(); ++i) {
        rendering.current = iTargets[i].element;
        mtt::RenderResult result;
        const mtt::FileSetStatus status = ioFiles.Render(i, *_templates[iTargets[i].job], ioModel, rendering, result);
        const bool stopped = !result.ok && (!result.evaluated || !_options.keepGoing);
        if (!_options.explainPath.empty() && !_options.check) {
            Explain(i, *_templates[iTargets[i].job], ioModel, rendering, result, stopped);
        }
        if (!result.ok) {
            const bool several = !_options.eachPath.empty() || _options.jobs.size() > 1;
            const std::string name = several ? " for " + iTargets[i].name : std::string();
            if (stopped) {
                printed->PrintCounts();
                ReportError("evaluation failed" + name + "; nothing written");
                return kExitEvaluationFailed;
            }
            oReportedErrors = true;
        }
        if (status != mtt::FileSetStatus::kOk) {
            printed->PrintCounts();
            return StatusOf(status);
        }
    }
    printed->PrintCounts();
    if (oReportedErrors) {
        std::fprintf(stderr, "mttgen: warning: evaluation reported errors; the output %s all the same (--keep-going)\n",
                     _options.check ? "would be written" : "is written");
    }
    return kExitSuccess;
}

void Generator::Explain(size_t iTarget, const mtt::Template& iTemplate, mtt::Model* ioModel,
                        const mtt::RenderOptions& iOptions, const mtt::RenderResult& iResult, bool iStopped)
{
    _evaluations.resize(iTarget + 1);
    Evaluation& evaluation = _evaluations[iTarget];
    evaluation.kept = !iResult.ok && !iStopped;
    evaluation.stopped = iStopped;
    if (iResult.messages.empty() && !iStopped) return;
    std::unique_ptr<MessageProbe> probe;
    if (ioModel != nullptr) probe.reset(new MessageProbe(iTemplate, *ioModel, iOptions));
    // The probe heard the same messages, unless the model answered
    // differently the second time: then only the render's own are used.
    const bool paired = probe && probe->Messages().size() == iResult.messages.size();
    size_t lastProblem = 0;
    for (size_t i = 0; i < iResult.messages.size(); ++i) {
        const mtt::RenderMessage& message = iResult.messages[i];
        ExplainMessage shown;
        shown.text = message.text.compare(0, 7, "ERROR: ") == 0 ? message.text.substr(7) : message.text;
        while (!shown.text.empty() && (shown.text.back() == '\n' || shown.text.back() == '\r')) shown.text.pop_back();
        shown.hint = message.hint;
        shown.context = message.context;
        shown.file = message.file;
        shown.line = message.line;
        shown.column = message.column;
        if (paired && probe->Messages()[i].text == message.text) {
            const MessageProbe::Heard& heard = probe->Messages()[i];
            shown.span = iTemplate.Sources().Find(heard.subject);
            shown.object = heard.object;
            shown.evaluationOffset = static_cast<int64_t>(heard.offset);
        }
        if (!shown.context) lastProblem = i;
        evaluation.messages.push_back(std::move(shown));
    }
    if (iStopped && !evaluation.messages.empty()) evaluation.messages[lastProblem].stop = true;
    if (iStopped && probe) evaluation.stoppedText = probe->LastText();
}

std::string Generator::TraceText(const mtt::FileSet& iFiles, mtt::Model* iModel) const
{
    TraceWriter::ObjectDescriber describer;
    if (iModel != nullptr) {
        describer = [iModel](const MTLIModelObject* iObject) {
            const std::string pointer = iModel->PointerOf(iObject);
            return pointer == JsonModel::kUnknownPointer ? std::string("?") : TraceWriter::QuoteJson(pointer);
        };
    }
    return TraceWriter(_templates.front()->Sources(), describer).Format(iFiles.File(0).Text());
}

std::string Generator::PageText(const mtt::FileSet& iFiles, const std::vector<Target>& iTargets, mtt::Model* iModel,
                                const std::string& iOutcome, bool iWritten) const
{
    const std::unique_ptr<ExplainPage> page = MakePage(iFiles, iTargets, iModel);
    return PageHtml(*page, 0, iOutcome, iWritten);
}

std::unique_ptr<ExplainPage> Generator::MakePage(const mtt::FileSet& iFiles, const std::vector<Target>& iTargets,
                                                 mtt::Model* iModel) const
{
    std::unique_ptr<ExplainPage> made(new ExplainPage(iModel != nullptr ? &iModel->Json() : nullptr,
                                                      _shownModel.valid() ? _shownModel.get().get() : nullptr));
    ExplainPage& page = *made;
    page.SetVariables(Variables(_options.defines));
    if (_previous) page.CompareWith(*_previous);
    std::vector<size_t> templates;
    for (const std::unique_ptr<mtt::Template>& parsed : _templates)
        templates.push_back(page.AddTemplate(parsed->Sources()));
    size_t shown = 0;
    for (size_t i = 0; i < iTargets.size() && i < _evaluations.size(); ++i, ++shown) {
        const GeneratedFile& file = iFiles.File(i);
        const Evaluation& evaluation = _evaluations[i];
        const std::string name = file.IsStandardOutput() ? std::string("(standard output)") : file.Path();
        const size_t job = templates[iTargets[i].job];
        if (file.HasText()) {
            page.AddOutput(name, job, file.Text(), evaluation.messages, evaluation.kept);
        } else if (evaluation.stopped) {
            page.AddStoppedOutput(name, job, evaluation.stoppedText, evaluation.messages);
        }
    }
    page.SetSkipped(iTargets.size() - shown);
    return made;
}

std::string Generator::PageHtml(ExplainPage& ioPage, size_t iFirstMessage, const std::string& iOutcome,
                                bool iWritten) const
{
    for (size_t i = iFirstMessage; i < _fileMessages->size(); ++i) {
        const mtt::FileMessage& message = (*_fileMessages)[i];
        ExplainMessage shownMessage;
        shownMessage.severity = message.kind == mtt::FileMessage::Kind::kError     ? ExplainMessage::Severity::kError
                                : message.kind == mtt::FileMessage::Kind::kWarning ? ExplainMessage::Severity::kWarning
                                                                                   : ExplainMessage::Severity::kNote;
        shownMessage.text = message.text;
        shownMessage.file = message.file;
        shownMessage.line = message.line;
        shownMessage.column = message.column;
        ioPage.AddMessage(shownMessage);
    }
    ioPage.SetOutcome(iWritten, iOutcome);
    BrowserBudget::Figures figures;
    std::string html = ioPage.Html(&figures);
    const std::string warning = BrowserBudget::Warning(figures);
    if (!warning.empty()) std::fprintf(stderr, "mttgen: warning: %s\n", warning.c_str());
    return html;
}

ExitStatus Generator::WritePageAlone(const std::string& iPage, bool iSay) const
{
    if (_options.explainPath == "-") {
        return WriteStream(stdout, iPage) ? kExitSuccess : kExitEvaluationFailed;
    }
    // The page's own folder holds the journal: the outputs' may not exist.
    mtt::FileSetOptions options = FileOptions();
    options.root = std::filesystem::path(_options.explainPath).parent_path().string();
    mtt::FileSet alone(options);
    const mtt::FileSetStatus added =
        alone.AddPlain(_options.explainPath, "explain page", &ExplainPage::IsPage, ExplainPage::kOpeningBytes);
    if (added != mtt::FileSetStatus::kOk) return PlainStatus(added);
    alone.SetPlainText(0, iPage);
    const ExitStatus status = StatusOf(alone.Commit());
    if (status == kExitSuccess && iSay) {
        std::fprintf(stderr, "mttgen: note: the explain page %s shows what happened\n", _options.explainPath.c_str());
    }
    return status;
}

std::string Generator::DepFileText(const std::vector<Target>& iTargets) const
{
    std::vector<std::string> outputs;
    for (const Target& target : iTargets) {
        if (!target.name.empty()) outputs.push_back(target.name);
    }
    if (!_options.depFileTarget.empty()) outputs.assign(1, _options.depFileTarget);
    std::vector<std::string> read;
    for (const std::unique_ptr<mtt::Template>& parsed : _templates) {
        const SourceMap& map = parsed->Sources();
        for (uint32_t file = 0; file < map.FileCount(); ++file) {
            if (map.FileAt(file).name != "-") read.push_back(map.FileAt(file).name);
        }
    }
    if (!_options.modelPath.empty() && _options.modelPath != "-") read.push_back(_options.modelPath);
    return DepFile::Text(outputs, read);
}

std::string Generator::EachElement(int iIndex, int iCount, const MTLIModelObject* iElement) const
{
    std::string words =
        "element " + std::to_string(iIndex + 1) + " of " + std::to_string(iCount) + " in --each " + _options.eachPath;
    const std::string pointer =
        _model && iElement != nullptr ? _model->PointerOf(iElement) : JsonModel::kUnknownPointer;
    if (pointer != JsonModel::kUnknownPointer) words += " (" + pointer + ")";
    return words;
}

ExitStatus Generator::EachTarget(mtt::Model& iModel, size_t iJob, std::vector<Target>& ioTargets) const
{
    // The list is found with a foreach directive, so that --each takes
    // exactly the paths templates take.
    std::unique_ptr<mtt::Template> loop =
        Parse("--each", "[% foreach " + _options.eachPath + " %][% end %]", mtt::TemplateOptions());
    if (!loop) return kExitBadInput;
    MTTNode* foreach = loop->Tree()->GetChild(1);
    MTTIExpression* path = foreach != nullptr ? static_cast<MTTIExpression*>(foreach->GetChild(1)) : nullptr;
    MTTEvaluationEnvironment environment(iModel.Root());
    MTLIModelObject* list =
        path != nullptr && path->EvaluateBoolean(&environment) ? path->EvaluateModelObject(&environment) : nullptr;
    if (list == nullptr || list->GetKind() != 1) {
        ReportError("--each " + _options.eachPath + ": no list at that path in the model");
        return kExitBadInput;
    }
    mtt::TemplateOptions naming;
    naming.strict = _options.strict;
    std::unique_ptr<mtt::Template> nameTemplate = Parse("--output", _options.jobs[iJob].outputPath, naming);
    if (!nameTemplate) return kExitBadInput;
    mtt::RenderOptions rendering;
    rendering.variables = Variables(_options.defines);
    std::set<std::string> seen;
    for (int i = 0; i < list->GetSize(); ++i) {
        MTLIModelObject* element = list->GetElement(i);
        rendering.current = element;
        mtt::RenderResult name;
        if (element != nullptr) name = nameTemplate->Render(iModel, rendering);
        std::string what;
        if (!name.ok) {
            what = "cannot make its file name";
        } else if (name.text.empty() || name.text.find('\n') != std::string::npos) {
            what = "its file name '" + name.text + "' is empty or spans lines";
        } else if (!seen.insert(name.text).second) {
            what = "its file name '" + name.text + "' is also another element's";
        }
        if (!what.empty()) {
            ReportError(EachElement(i, list->GetSize(), element) + ": " + what + "; nothing written");
            return kExitBadInput;
        }
        ioTargets.push_back(Target{iJob, element, i, list->GetSize(), name.text});
    }
    return kExitSuccess;
}
