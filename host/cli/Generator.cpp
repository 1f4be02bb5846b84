#include "Generator.h"

#include <cstdio>
#include <cstdlib>

#include "CommentSyntax.h"
#include "CppLateEvaluator.h"
#include "DistinctFiles.h"
#include "EvaluationReporter.h"
#include "ExplainPage.h"
#include "GeneratedText.h"
#include "JsonModel.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTIStatement.h"
#include "OrphanFile.h"
#include "OutputFile.h"
#include "OutputLeafCollector.h"
#include "SourceMap.h"
#include "StdoutDiversion.h"
#include "TemplateParser.h"
#include "TextFile.h"
#include "TraceWriter.h"
#include "UserCodeKeys.h"
#include "UserCodeMatcher.h"
#include "UserCodeSections.h"

namespace {

void ReportError(const std::string& iMessage) {
    std::fprintf(stderr, "mttgen: error: %s\n", iMessage.c_str());
}

CommentSyntax SyntaxFor(const Options& iOptions) {
    CommentSyntax syntax;
    if (!iOptions.commentSyntax.empty()) {
        CommentSyntax::FromOpener(iOptions.commentSyntax, &syntax);
    } else if (!iOptions.WritesToStandardOutput()) {
        syntax = CommentSyntax::ForFile(iOptions.outputPath);
    }
    return syntax;
}

bool WriteStream(FILE* iStream, const std::string& iText) {
    return std::fwrite(iText.data(), 1, iText.size(), iStream) == iText.size() && std::fflush(iStream) == 0;
}

}  // namespace

Generator::Generator(const Options& iOptions) : _options(iOptions) {}

Generator::~Generator() {}

ExitStatus Generator::Run() {
    std::string error;
    if (!DistinctFiles::Check({{"template", _options.templatePath},
                               {"model", _options.modelPath},
                               {"output", _options.WritesToStandardOutput() ? std::string() : _options.outputPath},
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
    TemplateParser parser(_options.templatePath);
    std::unique_ptr<MTTIStatement> tree(parser.Parse(std::move(source)));
    if (!tree) {
        std::fputs(parser.Errors().c_str(), stderr);
        return kExitBadInput;
    }
    _map = parser.TakeSourceMap();
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
        model = JsonModel::LoadFile(_options.modelPath, error);
        if (!model) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return kExitBadInput;
        }
    }
    // The existing output is read now, so that a broken file stops the run
    // early; it is read again right before it is replaced.
    std::unique_ptr<OutputFile> file;
    if (!_options.WritesToStandardOutput()) {
        file.reset(new OutputFile(_options.outputPath));
        if (!file->ReadCurrent(error)) {
            ReportError(error);
            return kExitBadInput;
        }
    }
    UserCodeSections existing;
    int line = 0;
    if (file && !_options.late && !existing.Read(file->Current(), SyntaxFor(_options), line, error)) {
        std::fprintf(stderr, "%s:%d: error: %s; nothing written\n", _options.outputPath.c_str(), line, error.c_str());
        return kExitUserCodeConflict;
    }

    std::unique_ptr<MTTEvaluationOutput> output;
    ExitStatus status = Evaluate(tree.get(), model.get(), output);
    if (!output) return kExitEvaluationFailed;

    const UserCodeKeys keys(_options.keyMembers);
    std::string warnings;
    GeneratedText text(OutputLeafCollector().Collect(output.get()), keys, SyntaxFor(_options), warnings);
    std::fputs(warnings.c_str(), stderr);
    const ExitStatus kept = KeepUserCode(text, existing.All());
    if (kept != kExitSuccess) return kept;
    const ExitStatus readBack = CheckReadBack(text);
    if (readBack != kExitSuccess) return readBack;
    const ExitStatus written = Write(text, output.get(), file.get(), model.get());
    return written != kExitSuccess ? written : status;
}

ExitStatus Generator::Evaluate(MTTIStatement* iTree, JsonModel* iModel, std::unique_ptr<MTTEvaluationOutput>& oOutput) {
    // Owners are declared so that they go in the right order: the outputs
    // first, then the environment, then what it borrows.
    std::unique_ptr<CppLateEvaluator> lateEvaluator;
    std::unique_ptr<MTTEvaluationEnvironment> environment;
    if (_options.late) {
        lateEvaluator.reset(new CppLateEvaluator());
        environment.reset(new MTTEvaluationEnvironment(lateEvaluator.get()));
    } else {
        environment.reset(new MTTEvaluationEnvironment(iModel->Root()));
    }
    int errors = 0;
    {
        StdoutDiversion diversion;
        EvaluationReporter reporter(*_map);
        oOutput.reset(_options.late ? iTree->LateEvaluate(environment.get()) : iTree->Evaluate(environment.get()));
        errors = reporter.Errors();
    }
    if (!oOutput || (errors > 0 && !_options.keepGoing)) {
        oOutput.reset();
        ReportError("evaluation failed; nothing written");
        return kExitEvaluationFailed;
    }
    if (errors > 0) {
        std::fputs("mttgen: warning: evaluation reported errors; the output is written all the same (--keep-going)\n",
                   stderr);
        return kExitEvaluationFailed;
    }
    return kExitSuccess;
}

ExitStatus Generator::KeepUserCode(GeneratedText& ioText, const std::vector<UserCodeSections::Section>& iExisting) {
    std::vector<UserCodeMatcher::Wanted> wanted;
    for (const GeneratedText::Section& section : ioText.Sections()) {
        wanted.push_back(UserCodeMatcher::Wanted{section.key, section.modelText});
    }
    UserCodeMatcher::Outcome outcome = UserCodeMatcher::Match(wanted, iExisting);
    const std::string& file = _options.outputPath;
    if (!_options.force && (!outcome.conflict.empty() || !outcome.orphans.empty())) {
        if (!outcome.conflict.empty()) {
            const std::string where = outcome.conflictLine > 0 ? ":" + std::to_string(outcome.conflictLine) : "";
            std::fprintf(stderr,
                         "%s%s: error: %s; nothing written (--force writes it and saves what has no place to "
                         "%s.orphans)\n",
                         file.c_str(), where.c_str(), outcome.conflict.c_str(), file.c_str());
        } else {
            for (const UserCodeSections::Section& orphan : outcome.orphans) {
                std::fprintf(stderr, "%s:%d: error: the owner of user-code section \"%s\" is no longer in the model\n",
                             file.c_str(), orphan.beginLine, orphan.key.c_str());
            }
            std::fprintf(stderr,
                         "mttgen: error: nothing written: %zu user-code section%s would be lost (--force writes "
                         "the file and saves %s to %s.orphans)\n",
                         outcome.orphans.size(), outcome.orphans.size() == 1 ? "" : "s",
                         outcome.orphans.size() == 1 ? "it" : "them", file.c_str());
        }
        return kExitUserCodeConflict;
    }
    _orphans = std::move(outcome.orphans);
    ioText.Compose(outcome.texts);
    return kExitSuccess;
}

ExitStatus Generator::CheckReadBack(const GeneratedText& iText) const {
    // A marker line inside user code, or in literal template text, would
    // cut the file up differently on the next run.
    const CommentSyntax syntax = SyntaxFor(_options);
    std::string key;
    std::string before;
    for (size_t i = 0; i < iText.Sections().size(); ++i) {
        const std::string& text = iText.WrittenText(i);
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            if (syntax.Read(std::string_view(text).substr(start, end - start), key, before) !=
                CommentSyntax::Marker::kNone) {
                std::fprintf(stderr,
                             "mttgen: error: the user code for \"%s\" holds a user-code marker line, which would cut "
                             "it up on the next run; nothing written\n",
                             iText.Sections()[i].key.c_str());
                return kExitUserCodeConflict;
            }
            start = end + 1;
        }
    }
    UserCodeSections sections;
    int line = 0;
    std::string problem;
    if (sections.Read(iText.Text(), syntax, line, problem)) {
        for (size_t i = 0; i < sections.All().size() && problem.empty(); ++i) {
            if (i >= iText.Sections().size() || sections.All()[i].key != iText.Sections()[i].key) {
                line = sections.All()[i].beginLine;
                problem = "a user-code marker line that no usercode directive wrote";
            }
        }
    }
    if (problem.empty()) return kExitSuccess;
    std::fprintf(stderr, "mttgen: error: the new text would not read back (its line %d: %s); nothing written\n", line,
                 problem.c_str());
    const MTTEvaluationOutputLeaf* leaf = iText.LeafAtLine(line);
    const SourceSpan* span = leaf != nullptr ? _map->Find(leaf->GetStatement()) : nullptr;
    if (span != nullptr) {
        std::fprintf(stderr, "%s: note: that line comes from %s\n", _map->Where(*span).c_str(),
                     _map->Excerpt(*span).c_str());
    }
    return kExitUserCodeConflict;
}

ExitStatus Generator::Write(const GeneratedText& iText, MTTEvaluationOutput* iRoot, OutputFile* iFile,
                            JsonModel* iModel) {
    std::string error;
    std::string trace;
    if (_options.trace) {
        TraceWriter::ObjectDescriber describer;
        if (iModel != nullptr) {
            describer = [iModel](const MTLIModelObject* iObject) {
                const std::string pointer = iModel->PointerOf(iObject);
                return pointer == JsonModel::kUnknownPointer ? std::string("?") : TraceWriter::QuoteJson(pointer);
            };
        }
        trace = TraceWriter(describer).Format(iText.Pieces());
    }
    // Every file is prepared before any is put in place, so that a trace
    // or page that cannot be written leaves the output as it was.
    std::unique_ptr<OutputFile> explainFile;
    if (!_options.explainPath.empty()) {
        ExplainPage page(*_map, iModel);
        page.AddOutput(_options.WritesToStandardOutput() ? std::string("(standard output)") : _options.outputPath,
                       iText, iRoot);
        explainFile.reset(new OutputFile(_options.explainPath));
        if (!explainFile->ReadCurrent(error) || !explainFile->Prepare(page.Html(), error)) {
            ReportError(error);
            return kExitEvaluationFailed;
        }
    }
    std::unique_ptr<OutputFile> traceFile;
    if (_options.trace && !_options.traceFile.empty() && !_options.TracesToStandardOutput()) {
        traceFile.reset(new OutputFile(_options.traceFile));
        if (!traceFile->ReadCurrent(error) || !traceFile->Prepare(trace, error)) {
            ReportError(error);
            return kExitEvaluationFailed;
        }
    }
    if (iFile != nullptr && !iFile->Prepare(iText.Text(), error)) {
        ReportError(error);
        return kExitEvaluationFailed;
    }
    if (!_orphans.empty()) {
        const OrphanFile orphans(_options.outputPath, SyntaxFor(_options));
        if (!orphans.Append(_orphans, error)) {
            ReportError(error + "; nothing written");
            return kExitEvaluationFailed;
        }
        std::string keys;
        for (const UserCodeSections::Section& orphan : _orphans) {
            keys += (keys.empty() ? "" : ", ") + (orphan.key.empty() ? std::string("(unkeyed)") : orphan.key) +
                    " (line " + std::to_string(orphan.beginLine) + ")";
        }
        std::fprintf(stderr, "mttgen: warning: %s: user code whose owner is gone saved to %s: %s\n",
                     _options.outputPath.c_str(), orphans.Path().c_str(), keys.c_str());
    }
    if (iFile == nullptr) {
        if (!WriteStream(stdout, iText.Text())) {
            ReportError("cannot write to standard output");
            return kExitEvaluationFailed;
        }
    } else {
        const OutputFile::Result result = iFile->Commit(error);
        if (result == OutputFile::Result::kChanged) {
            ReportError(error);
            return kExitUserCodeConflict;
        }
        if (result == OutputFile::Result::kFailed) {
            ReportError(error);
            return kExitEvaluationFailed;
        }
    }
    if (explainFile && explainFile->Commit(error) != OutputFile::Result::kWritten &&
        !error.empty()) {
        ReportError(error);
        return kExitEvaluationFailed;
    }
    if (!_options.trace) return kExitSuccess;
    if (traceFile) {
        const OutputFile::Result result = traceFile->Commit(error);
        if (result == OutputFile::Result::kFailed || result == OutputFile::Result::kChanged) {
            ReportError(error);
            return kExitEvaluationFailed;
        }
        return kExitSuccess;
    }
    if (!WriteStream(_options.TracesToStandardOutput() ? stdout : stderr, trace)) {
        ReportError("cannot write the trace");
        return kExitEvaluationFailed;
    }
    return kExitSuccess;
}
