#include "Generator.h"

#include <cstdio>
#include <set>

#include "CommentSyntax.h"
#include "CppLateSyntax.h"
#include "DistinctFiles.h"
#include "Evaluator.h"
#include "ExplainPage.h"
#include "GeneratedFile.h"
#include "JsonModel.h"
#include "JsonModelObject.h"
#include "MTLIModelObject.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIExpression.h"
#include "MTTIStatement.h"
#include "OutputFile.h"
#include "SourceMap.h"
#include "TemplateParser.h"
#include "TextFile.h"
#include "TraceWriter.h"
#include "UserCodeKeys.h"

namespace {

void ReportError(const std::string& iMessage) {
    std::fprintf(stderr, "mttgen: error: %s\n", iMessage.c_str());
}

CommentSyntax SyntaxFor(const Options& iOptions, const std::string& iPath) {
    CommentSyntax syntax;
    if (!iOptions.commentSyntax.empty()) {
        CommentSyntax::FromOpener(iOptions.commentSyntax, &syntax);
    } else if (!iPath.empty()) {
        syntax = CommentSyntax::ForFile(iPath);
    }
    return syntax;
}

bool WriteStream(FILE* iStream, const std::string& iText) {
    return std::fwrite(iText.data(), 1, iText.size(), iStream) == iText.size() && std::fflush(iStream) == 0;
}

}  // namespace

Generator::Generator(const Options& iOptions) : _options(iOptions) {}

Generator::~Generator() {
    // Files hold output trees that point into the syntax tree's statements.
    _files.clear();
}

std::unique_ptr<MTTIStatement> Generator::Parse(const std::string& iName, std::string iSource,
                                                const ParseOptions& iParsing, std::unique_ptr<SourceMap>& oMap,
                                                ExitStatus& oStatus) const {
    TemplateParser parser(iName, iParsing);
    std::unique_ptr<MTTIStatement> tree(parser.Parse(std::move(iSource)));
    if (!tree) {
        std::fputs(parser.Errors().c_str(), stderr);
        oStatus = kExitBadInput;
        return tree;
    }
    oMap = parser.TakeSourceMap();
    oStatus = kExitSuccess;
    return tree;
}

ExitStatus Generator::Run() {
    std::string error;
    const bool each = !_options.eachPath.empty();
    if (!DistinctFiles::Check({{"template", _options.templatePath},
                               {"model", _options.modelPath},
                               {"output", each || _options.WritesToStandardOutput() ? std::string() : _options.outputPath},
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
    ExitStatus status = kExitSuccess;
    const CppLateSyntax cpp;
    ParseOptions parsing;
    parsing.late = _options.late;
    parsing.lateSyntax = &cpp;
    parsing.strict = _options.strict;
    parsing.includeDirs = _options.includeDirs;
    std::unique_ptr<MTTIStatement> tree = Parse(_options.templatePath, std::move(source), parsing, _map, status);
    if (!tree) return status;
    if (_options.normalize && tree->Normalize() != S_OK) {
        ReportError("normalising the template failed");
        return kExitEvaluationFailed;
    }
    if (_options.dump) {
        const MTTString dump = tree->ToString();
        std::fwrite(dump.ConvertToChar(), 1, dump.Length(), stdout);
        std::fputc('\n', stdout);
        return kExitSuccess;
    }

    std::unique_ptr<JsonModel> model;
    if (!_options.late) {
        if (_options.modelPath == "-") {
            std::string text;
            if (!TextFile::Read("-", text, error)) {
                ReportError(error);
                return kExitBadInput;
            }
            model = JsonModel::FromText(text, "<stdin>", error);
        } else {
            model = JsonModel::LoadFile(_options.modelPath, error);
        }
        if (!model) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return kExitBadInput;
        }
    }

    // What to write: one file (or the standard output), or one per element.
    std::vector<MTLIModelObject*> elements;
    std::vector<std::string> names;
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
        _files.emplace_back(new GeneratedFile(name, SyntaxFor(_options, name), !_options.late, *_map));
        status = _files.back()->Open();
        if (status != kExitSuccess) return status;
    }

    const UserCodeKeys keys(_options.keyMembers);
    if (model) {
        // The model answers "UserCode" with the text kept in the file being
        // regenerated, so a first run needs nothing in the model.
        model->SetUserCodeSource([this, &keys](const JsonModelObject& iOwner, std::string& oText) {
            const std::string key = keys.KeyOf(&iOwner);
            for (const std::unique_ptr<GeneratedFile>& file : _files) {
                if (file->KeptText(key, oText)) return true;
            }
            return false;
        });
    }
    const Evaluator evaluator(*_map, model.get(), _options.defines);
    ExitStatus outcome = kExitSuccess;
    for (size_t i = 0; i < _files.size(); ++i) {
        int errors = 0;
        std::unique_ptr<MTTEvaluationOutput> output = evaluator.Run(tree.get(), elements[i], errors);
        if (!output || errors > 0) {
            outcome = kExitEvaluationFailed;
            if (!output || !_options.keepGoing) {
                ReportError(std::string("evaluation failed") + (each ? " for " + names[i] : std::string()) +
                            "; nothing written");
                return kExitEvaluationFailed;
            }
            std::fputs("mttgen: warning: evaluation reported errors; the output is written all the same "
                       "(--keep-going)\n",
                       stderr);
        }
        status = _files[i]->Build(std::move(output), keys, _options.force);
        if (status != kExitSuccess) return status;
    }
    status = WriteAll(model.get());
    return status != kExitSuccess ? status : outcome;
}

ExitStatus Generator::EachTarget(JsonModel& iModel, std::vector<MTLIModelObject*>& oElements,
                                 std::vector<std::string>& oNames) const {
    // The list is found with a foreach directive, so that --each takes
    // exactly the paths templates take.
    std::unique_ptr<SourceMap> pathMap;
    ExitStatus status = kExitSuccess;
    std::unique_ptr<MTTIStatement> loop =
        Parse("--each", "[% foreach " + _options.eachPath + " %][% end %]", ParseOptions(), pathMap, status);
    if (!loop) return status;
    MTTNode* foreach = loop->GetChild(1);
    MTTIExpression* path = foreach != nullptr ? static_cast<MTTIExpression*>(foreach->GetChild(1)) : nullptr;
    MTTEvaluationEnvironment environment(iModel.Root());
    MTLIModelObject* list = path != nullptr && path->EvaluateBoolean(&environment) ? path->EvaluateModelObject(&environment)
                                                                                    : nullptr;
    if (list == nullptr || list->GetKind() != 1) {
        ReportError("--each " + _options.eachPath + ": no list at that path in the model");
        return kExitBadInput;
    }
    std::unique_ptr<SourceMap> nameMap;
    ParseOptions naming;
    naming.strict = _options.strict;
    std::unique_ptr<MTTIStatement> nameTemplate = Parse("--output", _options.outputPath, naming, nameMap, status);
    if (!nameTemplate) return status;
    const Evaluator namer(*nameMap, &iModel, _options.defines);
    std::set<std::string> seen;
    std::vector<std::pair<std::string, std::string>> files = {{"template", _options.templatePath},
                                                             {"model", _options.modelPath},
                                                             {"trace file", _options.traceFile},
                                                             {"explain page", _options.explainPath}};
    for (int i = 0; i < list->GetSize(); ++i) {
        MTLIModelObject* element = list->GetElement(i);
        int errors = 0;
        std::unique_ptr<MTTEvaluationOutput> output =
            element != nullptr ? namer.Run(nameTemplate.get(), element, errors) : nullptr;
        MTTString text;
        if (output) output->toString(text);
        const std::string name(text.ConvertToChar(), text.Length());
        std::string what;
        if (!output || errors > 0) {
            what = "cannot make its file name";
        } else if (name.empty() || name.find('\n') != std::string::npos) {
            what = "its file name '" + name + "' is empty or spans lines";
        } else if (!seen.insert(name).second) {
            what = "its file name '" + name + "' is also another element's";
        }
        if (!what.empty()) {
            ReportError("--each " + _options.eachPath + ": element " + std::to_string(i) + ": " + what +
                        "; nothing written");
            return kExitBadInput;
        }
        oElements.push_back(element);
        oNames.push_back(name);
        files.emplace_back("output", name);
    }
    std::string error;
    if (!DistinctFiles::Check(files, error)) {
        ReportError(error + "; nothing written");
        return kExitBadInput;
    }
    return kExitSuccess;
}

ExitStatus Generator::WriteAll(JsonModel* iModel) {
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

ExitStatus Generator::PrepareTraceAndPage(JsonModel* iModel) {
    std::string error;
    if (!_options.explainPath.empty()) {
        ExplainPage page(*_map, iModel);
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
