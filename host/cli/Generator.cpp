#include "Generator.h"

#include <cstdio>

#include "AtomicFileWriter.h"
#include "CppLateEvaluator.h"
#include "JsonModel.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTIStatement.h"
#include "OutputLeafCollector.h"
#include "StdoutDiversion.h"
#include "TemplateParser.h"
#include "TextFile.h"
#include "TraceWriter.h"
#include "UserCodeMerger.h"

namespace {

void ReportError(const std::string& iMessage) {
    std::fprintf(stderr, "mttgen: error: %s\n", iMessage.c_str());
}

std::string TextOf(const MTTEvaluationOutputLeaf* iLeaf) {
    const MTTString& text = iLeaf->Text();
    return std::string(text.ConvertToChar(), text.Length());
}

bool IsUserCode(const MTTEvaluationOutputLeaf* iLeaf) {
    return iLeaf->GetLeafType() == MTTLeafUserCode;
}

}  // namespace

Generator::Generator(const Options& iOptions) : _options(iOptions), _hasExistingOutput(false) {}

ExitStatus Generator::Run() {
    std::string source;
    std::string error;
    if (!TextFile::Read(_options.templatePath, source, error)) {
        ReportError(error);
        return kExitBadInput;
    }
    TemplateParser parser(_options.templatePath);
    std::unique_ptr<MTTIStatement> tree(parser.Parse(source));
    if (!tree) {
        std::fputs(parser.Errors().c_str(), stderr);
        return kExitBadInput;
    }
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
    // Read before evaluating: an unreadable file stops the run early. Only
    // regular files keep user code; /dev/null and the like are just written.
    if (!_options.WritesToStandardOutput() && TextFile::IsRegularFile(_options.outputPath)) {
        if (!TextFile::Read(_options.outputPath, _existingOutput, error)) {
            ReportError(error + " (it is read to keep its user code)");
            return kExitBadInput;
        }
        _hasExistingOutput = true;
    }
    return Evaluate(tree.get(), model.get());
}

ExitStatus Generator::Evaluate(MTTIStatement* iTree, JsonModel* iModel) const {
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
    std::unique_ptr<MTTEvaluationOutput> output;
    {
        StdoutDiversion diversion;
        output.reset(_options.late ? iTree->LateEvaluate(environment.get()) : iTree->Evaluate(environment.get()));
    }
    if (!output) {
        ReportError("evaluation failed; nothing written");
        return kExitEvaluationFailed;
    }

    OutputLeafCollector collector;
    const std::vector<MTTEvaluationOutputLeaf*> leaves = collector.Collect(output.get());
    std::vector<std::string> texts;
    ExitStatus status = DecideTexts(leaves, texts);
    if (status != kExitSuccess) {
        return status;
    }
    std::string text;
    std::vector<std::string> userCode;
    for (size_t i = 0; i < leaves.size(); ++i) {
        text += texts[i];
        if (IsUserCode(leaves[i])) {
            userCode.push_back(texts[i]);
        }
    }
    status = Write(text, userCode);
    if (status == kExitSuccess && _options.trace) {
        status = WriteTrace(iModel, leaves, texts);
    }
    return status;
}

ExitStatus Generator::DecideTexts(const std::vector<MTTEvaluationOutputLeaf*>& iLeaves,
                                  std::vector<std::string>& oTexts) const {
    std::vector<std::string> modelUserCode;
    for (const MTTEvaluationOutputLeaf* leaf : iLeaves) {
        oTexts.push_back(TextOf(leaf));
        if (IsUserCode(leaf)) {
            modelUserCode.push_back(oTexts.back());
        }
    }
    if (!_hasExistingOutput) {
        return kExitSuccess;
    }
    const UserCodeMerger merger(_options.outputPath, _existingOutput);
    std::vector<std::string> kept;
    std::string messages;
    const bool merged = merger.Merge(modelUserCode, _options.force, kept, messages);
    std::fputs(messages.c_str(), stderr);
    if (!merged) {
        return kExitUserCodeConflict;
    }
    size_t next = 0;
    for (size_t i = 0; i < iLeaves.size(); ++i) {
        if (IsUserCode(iLeaves[i])) {
            oTexts[i] = kept[next++];
        }
    }
    return kExitSuccess;
}

ExitStatus Generator::Write(const std::string& iText, const std::vector<std::string>& iUserCode) const {
    std::string error;
    if (_options.WritesToStandardOutput()) {
        if (std::fwrite(iText.data(), 1, iText.size(), stdout) != iText.size() || std::fflush(stdout) != 0) {
            ReportError("cannot write to standard output");
            return kExitEvaluationFailed;
        }
        return kExitSuccess;
    }
    if (!AtomicFileWriter::Write(_options.outputPath, iText, error)) {
        ReportError(error);
        return kExitEvaluationFailed;
    }
    // User code that holds a marker line would be cut up on the next run.
    UserCodeMerger::Section unclosed;
    std::vector<UserCodeMerger::Section> sections = UserCodeMerger::FindSections(iText, unclosed);
    bool roundTrips = unclosed.line == 0 && sections.size() == iUserCode.size();
    for (size_t i = 0; roundTrips && i < sections.size(); ++i) {
        roundTrips = sections[i].text == iUserCode[i];
    }
    if (!roundTrips) {
        std::fprintf(stderr,
                     "mttgen: warning: %s: some user code contains a user-code marker line; "
                     "the next run will not read the sections back as written\n",
                     _options.outputPath.c_str());
    }
    return kExitSuccess;
}

ExitStatus Generator::WriteTrace(const JsonModel* iModel, const std::vector<MTTEvaluationOutputLeaf*>& iLeaves,
                                 const std::vector<std::string>& iTexts) const {
    TraceWriter::ObjectDescriber describer;
    if (iModel != nullptr) {
        describer = [iModel](const MTLIModelObject* iObject) {
            const std::string pointer = iModel->PointerOf(iObject);
            return pointer == JsonModel::kUnknownPointer ? std::string("?") : TraceWriter::QuoteJson(pointer);
        };
    }
    const TraceWriter writer(describer);
    const std::string trace = writer.Format(iLeaves, iTexts);
    if (_options.traceFile.empty()) {
        std::fputs(trace.c_str(), stderr);
        return kExitSuccess;
    }
    std::string error;
    if (!AtomicFileWriter::Write(_options.traceFile, trace, error)) {
        ReportError(error);
        return kExitEvaluationFailed;
    }
    return kExitSuccess;
}
