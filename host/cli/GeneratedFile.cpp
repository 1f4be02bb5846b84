#include "GeneratedFile.h"

#include <cstdio>

#include "MTTEvaluationOutput.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTIStatement.h"
#include "OrphanFile.h"
#include "OutputLeafCollector.h"
#include "SourceMap.h"
#include "UserCodeMatcher.h"

namespace {

void ReportError(const std::string& iMessage)
{
    std::fprintf(stderr, "mttgen: error: %s\n", iMessage.c_str());
}

}  // namespace

GeneratedFile::GeneratedFile(std::string iPath, const CommentSyntax& iSyntax, bool iKeepUserCode, bool iCreateFolders,
                             const SourceMap& iMap)
    : _path(std::move(iPath)),
      _syntax(iSyntax),
      _keepUserCode(iKeepUserCode),
      _createFolders(iCreateFolders),
      _map(iMap)
{
}

GeneratedFile::~GeneratedFile()
{
    // The text points into the output tree; it goes first.
    _text.reset();
    _output.reset();
}

bool GeneratedFile::KeptText(const std::string& iKey, std::string& oText) const
{
    for (const UserCodeSections::Section& section : _existing.All()) {
        if (!section.key.empty() && section.key == iKey) {
            oText = section.text;
            return true;
        }
    }
    return false;
}

ExitStatus GeneratedFile::Open()
{
    if (_path.empty()) return kExitSuccess;
    std::string error;
    _file.reset(new OutputFile(_path));
    if (_createFolders) _file->CreateFolders();
    if (!_file->ReadCurrent(error)) {
        ReportError(error);
        return kExitBadInput;
    }
    int line = 0;
    if (_keepUserCode && !_existing.Read(_file->Current(), _syntax, line, error)) {
        std::fprintf(stderr, "%s:%d: error: %s; nothing written\n", _path.c_str(), line, error.c_str());
        return kExitUserCodeConflict;
    }
    return kExitSuccess;
}

ExitStatus GeneratedFile::Build(std::unique_ptr<MTTEvaluationOutput> iOutput, const UserCodeKeys& iKeys, bool iForce)
{
    _output = std::move(iOutput);
    std::string warnings;
    _text.reset(new GeneratedText(OutputLeafCollector().Collect(_output.get()), iKeys, _syntax, warnings));
    std::fputs(warnings.c_str(), stderr);
    return Settle(iForce);
}

ExitStatus GeneratedFile::Build(std::string iText, bool iForce)
{
    _text.reset(new GeneratedText(std::move(iText), _syntax));
    return Settle(iForce);
}

bool GeneratedFile::HoldsMarkers(const std::string& iText) const
{
    UserCodeSections sections;
    int line = 0;
    std::string problem;
    return !sections.Read(iText, _syntax, line, problem) || !sections.All().empty();
}

ExitStatus GeneratedFile::Settle(bool iForce)
{
    std::vector<UserCodeMatcher::Wanted> wanted;
    for (const GeneratedText::Section& section : _text->Sections()) {
        wanted.push_back(UserCodeMatcher::Wanted{section.key, section.modelText});
    }
    UserCodeMatcher::Outcome outcome = UserCodeMatcher::Match(wanted, _existing.All());
    if (!iForce && (!outcome.conflict.empty() || !outcome.orphans.empty())) {
        const char* file = _path.c_str();
        if (!outcome.conflict.empty()) {
            const std::string where = outcome.conflictLine > 0 ? ":" + std::to_string(outcome.conflictLine) : "";
            std::fprintf(stderr,
                         "%s%s: error: %s; nothing written (--force writes it and saves what has no place to "
                         "%s.orphans)\n",
                         file, where.c_str(), outcome.conflict.c_str(), file);
        } else {
            for (const UserCodeSections::Section& orphan : outcome.orphans) {
                std::fprintf(stderr, "%s:%d: error: the owner of user-code section \"%s\" is no longer in the model\n",
                             file, orphan.beginLine, orphan.key.c_str());
            }
            std::fprintf(stderr,
                         "mttgen: error: nothing written: %zu user-code section%s would be lost (--force writes "
                         "the file and saves %s to %s.orphans)\n",
                         outcome.orphans.size(), outcome.orphans.size() == 1 ? "" : "s",
                         outcome.orphans.size() == 1 ? "it" : "them", file);
        }
        return kExitUserCodeConflict;
    }
    _orphans = std::move(outcome.orphans);
    _text->Compose(outcome.texts);
    return CheckReadBack();
}

ExitStatus GeneratedFile::CheckReadBack() const
{
    // A marker line inside user code, or in literal template text, would
    // cut the file up differently on the next run.
    std::string key;
    std::string before;
    for (size_t i = 0; i < _text->Sections().size(); ++i) {
        const std::string& text = _text->WrittenText(i);
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            if (_syntax.Read(std::string_view(text).substr(start, end - start), key, before) !=
                CommentSyntax::Marker::kNone) {
                std::fprintf(stderr,
                             "mttgen: error: the user code for \"%s\" holds a user-code marker line, which would cut "
                             "it up on the next run; nothing written\n",
                             _text->Sections()[i].key.c_str());
                return kExitUserCodeConflict;
            }
            start = end + 1;
        }
    }
    UserCodeSections sections;
    int line = 0;
    std::string problem;
    if (sections.Read(_text->Text(), _syntax, line, problem)) {
        for (size_t i = 0; i < sections.All().size() && problem.empty(); ++i) {
            if (i >= _text->Sections().size() || sections.All()[i].key != _text->Sections()[i].key) {
                line = sections.All()[i].beginLine;
                problem = "a user-code marker line that no usercode directive wrote";
            }
        }
    }
    if (problem.empty()) return kExitSuccess;
    std::fprintf(stderr, "mttgen: error: the new text would not read back (its line %d: %s); nothing written\n", line,
                 problem.c_str());
    const MTTEvaluationOutputLeaf* leaf = _text->LeafAtLine(line);
    const std::optional<SourceSpan> span = leaf != nullptr ? _map.Find(leaf->GetStatement()) : std::nullopt;
    if (span) {
        std::fprintf(stderr, "%s: note: that line comes from %s\n", _map.Where(*span).c_str(),
                     _map.Excerpt(*span).c_str());
    }
    return kExitUserCodeConflict;
}

ExitStatus GeneratedFile::Prepare()
{
    std::string error;
    if (!_orphans.empty()) {
        const OrphanFile orphans(_path, _syntax);
        if (!orphans.Append(_orphans, error)) {
            ReportError(error + "; nothing written");
            return kExitEvaluationFailed;
        }
        std::string keys;
        for (const UserCodeSections::Section& orphan : _orphans) {
            keys += (keys.empty() ? "" : ", ") + (orphan.key.empty() ? std::string("(unkeyed)") : orphan.key) +
                    " (line " + std::to_string(orphan.beginLine) + ")";
        }
        std::fprintf(stderr, "mttgen: warning: %s: user code whose owner is gone saved to %s: %s\n", _path.c_str(),
                     orphans.Path().c_str(), keys.c_str());
        _orphans.clear();
    }
    if (_file && !_file->Prepare(_text->Text(), error)) {
        ReportError(error);
        return kExitEvaluationFailed;
    }
    return kExitSuccess;
}

ExitStatus GeneratedFile::Commit(bool& oWritten)
{
    oWritten = false;
    std::string error;
    if (!_file) {
        const std::string& text = _text->Text();
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
            ReportError("cannot write to standard output");
            return kExitEvaluationFailed;
        }
        oWritten = true;
        return kExitSuccess;
    }
    switch (_file->Commit(error)) {
    case OutputFile::Result::kWritten: oWritten = true; return kExitSuccess;
    case OutputFile::Result::kUnchanged: return kExitSuccess;
    case OutputFile::Result::kChanged: ReportError(error); return kExitUserCodeConflict;
    case OutputFile::Result::kFailed: break;
    }
    ReportError(error);
    return kExitEvaluationFailed;
}
