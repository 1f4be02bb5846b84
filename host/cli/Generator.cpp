#include "Generator.h"

#include <cstdio>
#include <filesystem>
#include <set>

#include "DistinctFiles.h"
#include "ExplainPage.h"
#include "GeneratedFile.h"
#include "JsonModel.h"
#include "LargePageHeap.h"
#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTIExpression.h"
#include "MTTIStatement.h"
#include "MttModel.h"
#include "OutputPaths.h"
#include "StdoutDiversion.h"
#include "TextFile.h"
#include "TraceWriter.h"

namespace {

void ReportError(const std::string& iMessage)
{
    std::fprintf(stderr, "mttgen: error: %s\n", iMessage.c_str());
}

void PrintMessage(const mtt::FileMessage& iMessage)
{
    std::fputs(iMessage.ToString("mttgen").c_str(), stderr);
}

bool WriteStream(FILE* iStream, const std::string& iText)
{
    return std::fwrite(iText.data(), 1, iText.size(), iStream) == iText.size() && std::fflush(iStream) == 0;
}

// Follows a library message (already on standard error) with the template
// position behind it, on a line of its own.
void PrintNote(const mtt::RenderMessage& iMessage)
{
    if (!iMessage.text.empty() && iMessage.text.back() != '\n') std::fputc('\n', stderr);
    if (iMessage.file.empty()) return;
    std::fprintf(stderr, "%s:%d:%d: note: in %s\n", iMessage.file.c_str(), iMessage.line, iMessage.column,
                 iMessage.excerpt.c_str());
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

// The folder part of a file name template that holds no directive:
// "gen/${name}.h" -> "gen".
std::string LiteralFolder(const std::string& iName)
{
    const size_t directive = std::min(iName.find("${"), iName.find("[%"));
    const size_t slash = iName.rfind('/', directive == std::string::npos ? std::string::npos : directive);
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? std::string("/") : iName.substr(0, slash);
}

}  // namespace

Generator::Generator(const Options& iOptions) : _options(iOptions) {}

Generator::~Generator() {}

std::unique_ptr<mtt::Template> Generator::Parse(const std::string& iName, const std::string& iSource,
                                                const mtt::TemplateOptions& iOptions)
{
    std::vector<TemplateError> errors;
    std::unique_ptr<mtt::Template> parsed = mtt::Template::FromString(iSource, iName, errors, iOptions);
    for (const TemplateError& error : errors) std::fputs(error.ToString().c_str(), stderr);
    return parsed;
}

ExitStatus Generator::Run()
{
    std::string error;
    // Before anything is read: an output over an input would destroy it.
    DistinctFiles distinct;
    const bool single = _options.eachPath.empty() && !_options.WritesToStandardOutput();
    for (const auto& file :
         std::vector<std::pair<std::string, std::string>>{{"template", _options.templatePath},
                                                          {"model", _options.modelPath},
                                                          {"output", single ? _options.outputPath : std::string()},
                                                          {"trace file", _options.traceFile},
                                                          {"explain page", _options.explainPath}}) {
        if (!distinct.Add(file.first, file.second, error)) {
            ReportError(error + "; nothing written");
            return kExitBadInput;
        }
    }
    std::string source;
    if (!TextFile::Read(_options.templatePath, source, error)) {
        ReportError(error);
        return kExitBadInput;
    }
    mtt::TemplateOptions parsing;
    parsing.late = _options.late;
    parsing.strict = _options.strict;
    parsing.includeDirs = _options.includeDirs;
    for (const auto& variable : Variables(_options.defines)) parsing.variables.push_back(variable.first);
    _template = Parse(_options.templatePath, source, parsing);
    if (!_template) return kExitBadInput;
    if (_options.normalize && _template->Tree()->Normalize() != S_OK) {
        ReportError("normalising the template failed");
        return kExitEvaluationFailed;
    }
    if (_options.dump) {
        const MTTString dump = _template->Tree()->ToString();
        std::fwrite(dump.ConvertToChar(), 1, dump.Length(), stdout);
        std::fputc('\n', stdout);
        return kExitSuccess;
    }
    ExitStatus status = kExitSuccess;
    std::unique_ptr<mtt::Model> model = LoadModel(status);
    if (status != kExitSuccess) return status;

    // What to write: one file (or the standard output), or one per element.
    const bool each = !_options.eachPath.empty();
    std::vector<MTLIModelObject*> elements;
    std::vector<std::string> names;
    if (each) {
        status = EachTarget(*model, elements, names);
        if (status != kExitSuccess) return status;
    } else {
        elements.push_back(nullptr);
        names.push_back(_options.WritesToStandardOutput() ? std::string() : _options.outputPath);
    }
    mtt::FileSet files(FileOptions());
    // Existing files are read now, so that a broken one stops the run before
    // anything is evaluated.
    for (size_t i = 0; i < names.size(); ++i) {
        const mtt::FileSetStatus added = files.Add(names[i], !each);
        if (added == mtt::FileSetStatus::kOk) continue;
        if (each) {
            std::fprintf(stderr, "mttgen: note: the file of element %zu of --each %s\n", i, _options.eachPath.c_str());
        }
        return StatusOf(added);
    }
    const bool traceToFile = !_options.traceFile.empty() && !_options.TracesToStandardOutput();
    const bool pageToFile = !_options.explainPath.empty() && _options.explainPath != "-";
    if (traceToFile && files.AddPlain(_options.traceFile, "trace file") != mtt::FileSetStatus::kOk) {
        return kExitBadInput;
    }
    if (pageToFile && files.AddPlain(_options.explainPath, "explain page") != mtt::FileSetStatus::kOk) {
        return kExitBadInput;
    }
    bool reportedErrors = false;
    status = Render(files, model.get(), elements, names, reportedErrors);
    if (status != kExitSuccess) return status;
    const ExitStatus outcome = reportedErrors ? kExitEvaluationFailed : kExitSuccess;

    const std::string trace = _options.trace ? TraceText(files, model.get()) : std::string();
    const std::string page = !_options.explainPath.empty() ? PageText(files, names.size(), model.get()) : std::string();
    size_t plain = names.size();
    if (traceToFile) files.SetPlainText(plain++, trace);
    if (pageToFile) files.SetPlainText(plain++, page);
    status = StatusOf(files.Commit());
    if (status != kExitSuccess) return status;
    if (each) {
        std::fprintf(stderr, "mttgen: %zu file%s: %zu written, %zu unchanged\n", names.size(),
                     names.size() == 1 ? "" : "s", files.Written(), names.size() - files.Written());
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

std::unique_ptr<mtt::Model> Generator::LoadModel(ExitStatus& oStatus) const
{
    std::unique_ptr<mtt::Model> model;
    if (_options.late) return model;
    // A loaded model takes some twenty times its JSON text.
    std::error_code sizeError;
    const uintmax_t modelBytes =
        _options.modelPath == "-" ? 0 : std::filesystem::file_size(_options.modelPath, sizeError);
    LargePageHeap::Prepare(sizeError || modelBytes == 0 ? size_t(64) << 20 : 24 * static_cast<size_t>(modelBytes));
    std::string error;
    if (_options.modelPath == "-") {
        std::string text;
        if (!TextFile::Read("-", text, error)) {
            ReportError(error);
            oStatus = kExitBadInput;
            return nullptr;
        }
        model = mtt::Model::FromText(text, "<stdin>", error);
    } else {
        model = mtt::Model::FromFile(_options.modelPath, error);
    }
    if (!model) {
        std::fprintf(stderr, "%s\n", error.c_str());
        oStatus = kExitBadInput;
    }
    return model;
}

void Generator::OutputRoot(std::string& oRoot, std::string& oRun) const
{
    const bool each = !_options.eachPath.empty();
    const std::string literal =
        each ? LiteralFolder(_options.outputPath)
             : (_options.WritesToStandardOutput() ? std::string() : LiteralFolder(_options.outputPath));
    oRoot = _options.outputRoot.empty() ? literal : _options.outputRoot;
    const OutputPaths paths;
    const std::string root = paths.Absolute(oRoot);
    const std::string folder = paths.Absolute(literal);
    const std::string rest = literal.empty() ? _options.outputPath : _options.outputPath.substr(literal.size() + 1);
    if (_options.WritesToStandardOutput()) {
        oRun.clear();
    } else if (OutputPaths::Inside(root, folder) && folder != root) {
        oRun = OutputPaths::Relative(root, folder) + "/" + rest;
    } else {
        oRun = OutputPaths::Inside(root, folder) ? rest : _options.outputPath;
    }
}

mtt::FileSetOptions Generator::FileOptions() const
{
    mtt::FileSetOptions options;
    options.commentSyntax = _options.commentSyntax;
    options.keyMembers = _options.keyMembers;
    options.force = _options.force;
    options.prune = _options.prune;
    options.keepGoing = _options.keepGoing;
    OutputRoot(options.root, options.run);
    options.inputs = {{"template", _options.templatePath}, {"model", _options.modelPath}};
    options.onMessage = PrintMessage;
    return options;
}

ExitStatus Generator::Render(mtt::FileSet& ioFiles, mtt::Model* ioModel, const std::vector<MTLIModelObject*>& iElements,
                             const std::vector<std::string>& iNames, bool& oReportedErrors)
{
    mtt::RenderOptions rendering;
    rendering.variables = Variables(_options.defines);
    rendering.keepOutput = _options.trace || !_options.explainPath.empty();
    rendering.onMessage = PrintNote;
    for (size_t i = 0; i < iNames.size(); ++i) {
        rendering.current = iElements[i];
        mtt::RenderResult result;
        mtt::FileSetStatus status;
        {
            // The library's messages go to standard error with mttgen's, so
            // that standard output carries only generated text.
            StdoutDiversion diversion;
            status = ioFiles.Render(i, *_template, ioModel, rendering, result);
        }
        if (!result.ok) {
            const std::string name = _options.eachPath.empty() ? std::string() : " for " + iNames[i];
            if (!result.evaluated || !_options.keepGoing) {
                ReportError("evaluation failed" + name + "; nothing written");
                return kExitEvaluationFailed;
            }
            std::fputs(
                "mttgen: warning: evaluation reported errors; the output is written all the same "
                "(--keep-going)\n",
                stderr);
            oReportedErrors = true;
        }
        if (status != mtt::FileSetStatus::kOk) return StatusOf(status);
    }
    return kExitSuccess;
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
    return TraceWriter(describer).Format(iFiles.File(0).Text().Pieces());
}

std::string Generator::PageText(const mtt::FileSet& iFiles, size_t iCount, mtt::Model* iModel) const
{
    ExplainPage page(_template->Sources(), iModel != nullptr ? &iModel->Json() : nullptr);
    for (size_t i = 0; i < iCount; ++i) {
        const GeneratedFile& file = iFiles.File(i);
        page.AddOutput(file.IsStandardOutput() ? std::string("(standard output)") : file.Path(), file.Text(),
                       file.Output());
    }
    return page.Html();
}

ExitStatus Generator::EachTarget(mtt::Model& iModel, std::vector<MTLIModelObject*>& oElements,
                                 std::vector<std::string>& oNames) const
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
    std::unique_ptr<mtt::Template> nameTemplate = Parse("--output", _options.outputPath, naming);
    if (!nameTemplate) return kExitBadInput;
    mtt::RenderOptions rendering;
    rendering.variables = Variables(_options.defines);
    rendering.onMessage = PrintNote;
    std::set<std::string> seen;
    for (int i = 0; i < list->GetSize(); ++i) {
        MTLIModelObject* element = list->GetElement(i);
        rendering.current = element;
        mtt::RenderResult name;
        if (element != nullptr) {
            StdoutDiversion diversion;
            name = nameTemplate->Render(iModel, rendering);
        }
        std::string what;
        if (!name.ok) {
            what = "cannot make its file name";
        } else if (name.text.empty() || name.text.find('\n') != std::string::npos) {
            what = "its file name '" + name.text + "' is empty or spans lines";
        } else if (!seen.insert(name.text).second) {
            what = "its file name '" + name.text + "' is also another element's";
        }
        if (!what.empty()) {
            ReportError("--each " + _options.eachPath + ": element " + std::to_string(i) + ": " + what +
                        "; nothing written");
            return kExitBadInput;
        }
        oElements.push_back(element);
        oNames.push_back(name.text);
    }
    return kExitSuccess;
}
