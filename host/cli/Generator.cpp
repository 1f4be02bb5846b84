#include "Generator.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

#include "CommentSyntax.h"
#include "DistinctFiles.h"
#include "ExplainPage.h"
#include "GeneratedFile.h"
#include "JsonModel.h"
#include "JsonModelObject.h"
#include "LargePageHeap.h"
#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIExpression.h"
#include "MTTIStatement.h"
#include "MttModel.h"
#include "OutputFile.h"
#include "SourceMap.h"
#include "StdoutDiversion.h"
#include "TextFile.h"
#include "TraceWriter.h"
#include "UserCodeKeys.h"

namespace {

void ReportError(const std::string& iMessage)
{
    std::fprintf(stderr, "mttgen: error: %s\n", iMessage.c_str());
}

CommentSyntax SyntaxFor(const Options& iOptions, const std::string& iPath)
{
    CommentSyntax syntax;
    if (!iOptions.commentSyntax.empty()) {
        CommentSyntax::FromOpener(iOptions.commentSyntax, &syntax);
    } else if (!iPath.empty()) {
        syntax = CommentSyntax::ForFile(iPath);
    }
    return syntax;
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

}  // namespace

Generator::Generator(const Options& iOptions) : _options(iOptions) {}

Generator::~Generator()
{
    // Files hold output trees that point into the template's statements.
    _files.clear();
}

std::unique_ptr<mtt::Template> Generator::Parse(const std::string& iName, const std::string& iSource,
                                                const mtt::TemplateOptions& iOptions)
{
    std::vector<TemplateError> errors;
    std::unique_ptr<mtt::Template> parsed = mtt::Template::FromString(iSource, iName, errors, iOptions);
    for (const TemplateError& error : errors) std::fputs(error.ToString().c_str(), stderr);
    return parsed;
}

bool Generator::Evaluate(const mtt::Template& iTemplate, mtt::Model* ioModel, MTLIModelObject* iCurrent, bool iTree,
                         std::unique_ptr<MTTEvaluationOutput>& oOutput, std::string& oText, bool& oEvaluated) const
{
    mtt::RenderOptions rendering;
    rendering.variables = Variables(_options.defines);
    rendering.current = iCurrent;
    rendering.keepOutput = iTree;
    rendering.text = !iTree;
    rendering.onMessage = PrintNote;
    // The library's messages go to standard error with mttgen's, so that
    // standard output carries only generated text.
    StdoutDiversion diversion;
    mtt::RenderResult result =
        ioModel != nullptr ? iTemplate.Render(*ioModel, rendering) : iTemplate.RenderLate(rendering);
    oOutput = std::move(result.output);
    oText = std::move(result.text);
    oEvaluated = result.evaluated;
    return result.ok;
}

ExitStatus Generator::Generate(size_t iFile, mtt::Model* ioModel, MTLIModelObject* iCurrent, const std::string& iName,
                               const UserCodeKeys& iKeys, ExitStatus& ioOutcome)
{
    // The tree is built only when something needs more than the text: user
    // code, a trace, the explain page, or late evaluation's C++.
    bool tree = _options.late || _options.trace || !_options.explainPath.empty() || _template->HasUserCode();
    std::unique_ptr<MTTEvaluationOutput> output;
    std::string text;
    bool evaluated = false;
    bool ok = Evaluate(*_template, ioModel, iCurrent, tree, output, text, evaluated);
    // A marker line in the text is refused with the directive that wrote
    // it, which the tree tells; a clean render says nothing the second time.
    if (ok && !tree && _files[iFile]->HoldsMarkers(text)) {
        tree = true;
        ok = Evaluate(*_template, ioModel, iCurrent, tree, output, text, evaluated);
    }
    if (!ok) {
        ioOutcome = kExitEvaluationFailed;
        if (!evaluated || !_options.keepGoing) {
            ReportError(std::string("evaluation failed") + (iName.empty() ? std::string() : " for " + iName) +
                        "; nothing written");
            return kExitEvaluationFailed;
        }
        std::fputs(
            "mttgen: warning: evaluation reported errors; the output is written all the same "
            "(--keep-going)\n",
            stderr);
    }
    return tree ? _files[iFile]->Build(std::move(output), iKeys, _options.force)
                : _files[iFile]->Build(std::move(text), _options.force);
}

ExitStatus Generator::Run()
{
    std::string error;
    const bool each = !_options.eachPath.empty();
    if (!DistinctFiles::Check({{"template", _options.templatePath},
                               {"model", _options.modelPath},
                               {"output",
                                each || _options.WritesToStandardOutput() ? std::string() : _options.outputPath},
                               {"trace file", _options.traceFile},
                               {"explain page", _options.explainPath}},
                              error)) {
        ReportError(error + "; nothing written");
        return kExitBadInput;
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

    std::unique_ptr<mtt::Model> model;
    if (!_options.late) {
        // A loaded model takes some twenty times its JSON text.
        std::error_code sizeError;
        const uintmax_t modelBytes =
            _options.modelPath == "-" ? 0 : std::filesystem::file_size(_options.modelPath, sizeError);
        LargePageHeap::Prepare(sizeError || modelBytes == 0 ? size_t(64) << 20 : 24 * static_cast<size_t>(modelBytes));
        if (_options.modelPath == "-") {
            std::string text;
            if (!TextFile::Read("-", text, error)) {
                ReportError(error);
                return kExitBadInput;
            }
            model = mtt::Model::FromText(text, "<stdin>", error);
        } else {
            model = mtt::Model::FromFile(_options.modelPath, error);
        }
        if (!model) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return kExitBadInput;
        }
    }

    // What to write: one file (or the standard output), or one per element.
    std::vector<MTLIModelObject*> elements;
    std::vector<std::string> names;
    ExitStatus status = kExitSuccess;
    if (each) {
        status = EachTarget(*model, elements, names);
        if (status != kExitSuccess) return status;
    } else {
        elements.push_back(nullptr);
        names.push_back(_options.WritesToStandardOutput() ? std::string() : _options.outputPath);
    }
    // Existing files are read now, so that a broken one stops the run before
    // anything is evaluated; each is read again right before it is replaced.
    for (const std::string& name : names) {
        // --each makes the folders its file names lead to.
        _files.emplace_back(
            new GeneratedFile(name, SyntaxFor(_options, name), !_options.late, each, _template->Sources()));
        status = _files.back()->Open();
        if (status != kExitSuccess) return status;
    }

    const UserCodeKeys keys(_options.keyMembers);
    if (model) {
        // The model answers "UserCode" with the text kept in the file being
        // regenerated, so a first run needs nothing in the model.
        model->Json().SetUserCodeSource([this, &keys](const JsonModelObject& iOwner, std::string& oText) {
            const std::string key = keys.KeyOf(&iOwner);
            for (const std::unique_ptr<GeneratedFile>& file : _files) {
                if (file->KeptText(key, oText)) return true;
            }
            return false;
        });
    }
    ExitStatus outcome = kExitSuccess;
    for (size_t i = 0; i < _files.size(); ++i) {
        status = Generate(i, model.get(), elements[i], each ? names[i] : std::string(), keys, outcome);
        if (status != kExitSuccess) return status;
    }
    status = WriteAll(model.get());
    return status != kExitSuccess ? status : outcome;
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
    std::vector<std::pair<std::string, std::string>> files = {{"template", _options.templatePath},
                                                              {"model", _options.modelPath},
                                                              {"trace file", _options.traceFile},
                                                              {"explain page", _options.explainPath}};
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
        files.emplace_back("output", name.text);
    }
    std::string error;
    if (!DistinctFiles::Check(files, error)) {
        ReportError(error + "; nothing written");
        return kExitBadInput;
    }
    return kExitSuccess;
}

ExitStatus Generator::WriteAll(mtt::Model* iModel)
{
    // Every file is prepared before any is put in place, so that one that
    // cannot be written leaves all the others as they were.
    ExitStatus status = PrepareTraceAndPage(iModel);
    if (status != kExitSuccess) return status;
    for (const std::unique_ptr<GeneratedFile>& file : _files) {
        status = file->Prepare();
        if (status != kExitSuccess) return status;
    }
    size_t written = 0;
    for (const std::unique_ptr<GeneratedFile>& file : _files) {
        bool changed = false;
        status = file->Commit(changed);
        if (status != kExitSuccess) return status;
        if (changed) ++written;
    }
    if (!_options.eachPath.empty()) {
        std::fprintf(stderr, "mttgen: %zu file%s: %zu written, %zu unchanged\n", _files.size(),
                     _files.size() == 1 ? "" : "s", written, _files.size() - written);
    }
    std::string error;
    for (OutputFile* file : {_pageFile.get(), _traceFile.get()}) {
        if (file != nullptr && file->Commit(error) != OutputFile::Result::kWritten && !error.empty()) {
            ReportError(error);
            return kExitEvaluationFailed;
        }
    }
    if (_options.trace && !_traceFile && !WriteStream(_options.TracesToStandardOutput() ? stdout : stderr, _trace)) {
        ReportError("cannot write the trace");
        return kExitEvaluationFailed;
    }
    return kExitSuccess;
}

ExitStatus Generator::PrepareTraceAndPage(mtt::Model* iModel)
{
    std::string error;
    if (!_options.explainPath.empty()) {
        ExplainPage page(_template->Sources(), iModel != nullptr ? &iModel->Json() : nullptr);
        for (const std::unique_ptr<GeneratedFile>& file : _files) {
            page.AddOutput(file->Path().empty() ? std::string("(standard output)") : file->Path(), file->Text(),
                           file->Output());
        }
        _pageFile.reset(new OutputFile(_options.explainPath));
        if (!_pageFile->ReadCurrent(error) || !_pageFile->Prepare(page.Html(), error)) {
            ReportError(error);
            return kExitEvaluationFailed;
        }
    }
    if (!_options.trace) return kExitSuccess;
    TraceWriter::ObjectDescriber describer;
    if (iModel != nullptr) {
        describer = [iModel](const MTLIModelObject* iObject) {
            const std::string pointer = iModel->PointerOf(iObject);
            return pointer == JsonModel::kUnknownPointer ? std::string("?") : TraceWriter::QuoteJson(pointer);
        };
    }
    _trace = TraceWriter(describer).Format(_files.front()->Text().Pieces());
    if (!_options.traceFile.empty() && !_options.TracesToStandardOutput()) {
        _traceFile.reset(new OutputFile(_options.traceFile));
        if (!_traceFile->ReadCurrent(error) || !_traceFile->Prepare(_trace, error)) {
            ReportError(error);
            return kExitEvaluationFailed;
        }
    }
    return kExitSuccess;
}
