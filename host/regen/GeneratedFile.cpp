#include "GeneratedFile.h"

#include <algorithm>

#include <sys/stat.h>

#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "MarkerLine.h"
#include "OrphanFile.h"
#include "SourceMap.h"
#include "UserCodeKeys.h"
#include "UserCodeMatcher.h"

namespace {

using mtt::FileMessage;
using Status = mtt::FileSetStatus;

// Lines of hand edits, and sections whose owner is unclear, named one by
// one; the rest are counted.
const size_t kEditsShown = 10;
const size_t kProblemsShown = 3;

std::string Plural(size_t iCount, const char* iOne, const char* iMany)
{
    return std::to_string(iCount) + " " + (iCount == 1 ? iOne : iMany);
}

}  // namespace

GeneratedFile::GeneratedFile(std::string iPath, const CommentSyntax& iSyntax, bool iFollowLink, bool iCreateFolders,
                             const Manifest::Entry* iRecord, Report iReport)
    : _path(std::move(iPath)),
      _syntax(iSyntax),
      _followLink(iFollowLink),
      _createFolders(iCreateFolders),
      _hasRecord(iRecord != nullptr),
      _record(iRecord != nullptr ? *iRecord : Manifest::Entry()),
      _report(std::move(iReport))
{
}

GeneratedFile::~GeneratedFile() {}

void GeneratedFile::Error(int iLine, const std::string& iText) const
{
    _report(FileMessage(FileMessage::Kind::kError, _path, iLine, iText));
}

void GeneratedFile::Note(const SourceMap& iMap, const MTTIStatement* iStatement, const std::string& iText) const
{
    const std::optional<SourceSpan> span = iStatement != nullptr ? iMap.Find(iStatement) : std::nullopt;
    if (!span) return;
    FileMessage note =
        FileMessage(FileMessage::Kind::kNote, iMap.DisplayName(span->file), 0, iText + iMap.Excerpt(*span));
    iMap.LineColumn(*span, note.line, note.column);
    _report(note);
}

GeneratedFile::Status GeneratedFile::Open(bool iForce)
{
    if (_path.empty()) return Status::kOk;
    std::string error;
    _file.reset(new OutputFile(_path, _followLink));
    if (_createFolders) _file->CreateFolders();
    if (!_file->ReadCurrent(error)) {
        _report(FileMessage(FileMessage::Kind::kError, std::string(), 0, error));
        return Status::kBadInput;
    }
    if (!_file->IsRegular()) return Status::kOk;
    int line = 0;
    if (!_existing.Read(_file->Current(), line, error)) {
        Error(line, error + "; nothing written");
        return Status::kRefused;
    }
    if (!_hasRecord) return Status::kOk;
    if (_record.Holds(_file->Current())) {
        // As the last run wrote it: nothing was edited, and its lines'
        // digests are the recorded ones (needed again only for the record).
        _currentDigests = std::move(_record.lines);
        _currentWhole = _record.whole;
        return Status::kOk;
    }
    HandEdits::Skeleton skeleton = HandEdits::Of(_file->Current(), _existing.All());
    _edits = HandEdits::Find(_file->Current(), skeleton, _record.lines);
    _currentDigests = std::move(skeleton.digests);
    if (_edits.empty()) return Status::kOk;
    if (iForce) {
        _keepCopy = true;
        return Status::kOk;
    }
    for (size_t i = 0; i < _edits.size() && i < kEditsShown; ++i) {
        const HandEdits::Edit& edit = _edits[i];
        Error(edit.line, edit.deleted > 0 ? Plural(static_cast<size_t>(edit.deleted), "line", "lines") +
                                                " that mttgen wrote deleted here by hand"
                                          : "edited by hand outside the user-code sections: " + edit.text);
    }
    std::string more;
    if (_edits.size() > kEditsShown) more = " (" + std::to_string(_edits.size() - kEditsShown) + " more not shown)";
    _report(FileMessage(FileMessage::Kind::kError, std::string(), 0,
                        "nothing written: '" + _path +
                            "' was changed outside its user-code sections since mttgen wrote it" + more +
                            "; move the changes into a section, or --force writes it and keeps the changed file as '" +
                            OutputFile::FreeName(_path, ".edited") + "'"));
    return Status::kRefused;
}

GeneratedFile::Status GeneratedFile::Build(std::unique_ptr<MTTEvaluationOutput> iOutput, const UserCodeKeys& iKeys,
                                           const GeneratedText::SectionNamer& iNamer, const SourceMap& iMap,
                                           bool iForce)
{
    std::string text;
    mtt::OutputShape shape = mtt::OutputShape::Of(iOutput.get(), text);
    iOutput.reset();
    MTTString rendered(text.data(), text.size());
    std::string().swap(text);
    return Build(std::move(rendered), std::move(shape), iKeys, iNamer, iMap, iForce);
}

GeneratedFile::Status GeneratedFile::Build(MTTString iText, mtt::OutputShape iShape, const UserCodeKeys& iKeys,
                                           const GeneratedText::SectionNamer& iNamer, const SourceMap& iMap,
                                           bool iForce)
{
    _text.reset(new GeneratedText(std::move(iText), std::move(iShape), iKeys, iNamer, _syntax));
    _readBack.reset();
    _asCurrent = false;
    const Status identities = CheckIdentities(iMap);
    if (identities != Status::kOk) return identities;
    return Settle(iMap, iForce);
}

GeneratedFile::Status GeneratedFile::Build(MTTString iText, std::vector<MTTTextPiece> iUserCode,
                                           const UserCodeKeys& iKeys, const GeneratedText::SectionNamer& iNamer,
                                           const SourceMap& iMap, bool iForce)
{
    _text.reset(new GeneratedText(std::move(iText), iUserCode, iKeys, iNamer, _syntax));
    // The text holds what it needs of the pieces: they go before it is
    // composed, the moment a large output needs the most memory.
    std::vector<MTTTextPiece>().swap(iUserCode);
    _readBack.reset();
    _asCurrent = false;
    const Status identities = CheckIdentities(iMap);
    if (identities != Status::kOk) return identities;
    return Settle(iMap, iForce);
}

GeneratedFile::Status GeneratedFile::Build(MTTString iText, const SourceMap& iMap, bool iForce,
                                           std::unique_ptr<UserCodeSections> iRead)
{
    _text.reset(new GeneratedText(std::move(iText), _syntax));
    // A text without sections stays as it is: what was read of it holds.
    _readBack = iRead && iRead->All().empty() ? std::move(iRead) : nullptr;
    _asCurrent = false;
    return Settle(iMap, iForce);
}

bool GeneratedFile::HoldsMarkers(std::string_view iText, const std::vector<MTTTextPiece>& iUserCode)
{
    // The text between the directives' pieces, where the marker words are
    // rare: only a line that holds them is read.
    size_t done = 0;
    for (size_t i = 0; i <= iUserCode.size(); ++i) {
        const size_t end = i < iUserCode.size() ? std::min(iUserCode[i].begin, iText.size()) : iText.size();
        if (end > done && MarkerLine::FindWords(iText.substr(done, end - done), 0) != std::string_view::npos) {
            return true;
        }
        if (i < iUserCode.size()) done = std::max(done, std::min(iUserCode[i].end, iText.size()));
    }
    return false;
}

bool GeneratedFile::HoldsMarkers(std::string_view iText, std::unique_ptr<UserCodeSections>* oRead)
{
    std::unique_ptr<UserCodeSections> sections(new UserCodeSections());
    int line = 0;
    std::string problem;
    if (!sections->Read(iText, line, problem) || !sections->All().empty()) return true;
    if (oRead != nullptr) *oRead = std::move(sections);
    return false;
}

GeneratedFile::Status GeneratedFile::CheckIdentities(const SourceMap& iMap) const
{
    // Every section must name one owner for good: a key shared, or made
    // from a list position, could hand its text to another owner later.
    // Pointers sorted by key, in text order within a key: a file of
    // thousands of sections is not copied key by key into a map.
    std::vector<const GeneratedText::Section*> byKey;
    byKey.reserve(_text->Sections().size());
    for (const GeneratedText::Section& section : _text->Sections()) byKey.push_back(&section);
    std::stable_sort(byKey.begin(), byKey.end(),
                     [](const GeneratedText::Section* iLeft, const GeneratedText::Section* iRight) {
                         return iLeft->key < iRight->key;
                     });
    size_t problems = 0;
    for (size_t from = 0, to = 0; from < byKey.size(); from = to) {
        while (to < byKey.size() && byKey[to]->key == byKey[from]->key) ++to;
        const GeneratedText::Section* const* sections = byKey.data() + from;  // those of this key
        const size_t count = to - from;
        const GeneratedText::Section& first = *sections[0];
        const GeneratedText::Section* other = nullptr;
        for (size_t i = 1; i < count; ++i) {
            if (sections[i]->owner != first.owner) other = sections[i];
        }
        std::string text;
        if (other != nullptr) {
            text = "two model objects, " + first.pointer + " and " + other->pointer + ", give the user-code key \"" +
                   first.key +
                   "\"; nothing written (give them distinct identifying values: an id member, or name the member "
                   "that tells them apart with --key-members)";
        } else if (count > 1) {
            text = "the model object " + first.pointer + " has " + std::to_string(count) +
                   " user-code sections keyed \"" + first.key +
                   "\"; nothing written (name them apart: [% usercode as \"NAME\" %])";
        } else if (first.positional) {
            text = "the model object " + first.pointer +
                   " owns a user-code section but neither it nor the list elements above it have an identifying "
                   "member, so its key would be a list position, which passes to another element when the list "
                   "changes; nothing written (give the elements an id or a name, or name the member that identifies "
                   "them with --key-members)";
        } else {
            continue;
        }
        // A model of thousands of owners has as many: the first few tell.
        if (++problems > kProblemsShown) continue;
        _report(FileMessage(FileMessage::Kind::kError, std::string(), 0, text));
        Note(iMap, first.statement, "the section is written by ");
        if (other != nullptr || count > 1) {
            const GeneratedText::Section& second = other != nullptr ? *other : *sections[1];
            if (second.statement != first.statement) Note(iMap, second.statement, "and by ");
        }
    }
    if (problems > kProblemsShown) {
        _report(FileMessage(FileMessage::Kind::kError, std::string(), 0,
                            std::to_string(problems - kProblemsShown) + " more user-code sections like these"));
    }
    return problems > 0 ? Status::kRefused : Status::kOk;
}

GeneratedFile::Status GeneratedFile::Settle(const SourceMap& iMap, bool iForce)
{
    std::vector<std::pair<std::string, std::string>> wanted;
    for (const GeneratedText::Section& section : _text->Sections()) wanted.emplace_back(section.key, section.modelText);
    UserCodeMatcher::Outcome outcome = UserCodeMatcher::Match(wanted, _existing.All());
    if (!iForce && !outcome.conflicts.empty()) {
        for (const UserCodeMatcher::Conflict& conflict : outcome.conflicts) Error(conflict.line, conflict.text);
        _report(FileMessage(FileMessage::Kind::kError, std::string(), 0,
                            "nothing written: the user code of '" + _path +
                                "' cannot be placed safely (--force writes it and saves what has no sure place to '" +
                                _path + ".orphans')"));
        return Status::kRefused;
    }
    if (!iForce && !outcome.orphans.empty()) {
        // A late or section-less output has no place for any of them.
        const std::string why = _text->Sections().empty() ? "\" has no place: the new text has no user-code sections"
                                                          : "\" is no longer in the model";
        for (const UserCodeSections::Section& orphan : outcome.orphans) {
            Error(orphan.beginLine,
                  (_text->Sections().empty() ? "user-code section \"" : "the owner of user-code section \"") +
                      orphan.key + why);
        }
        _report(FileMessage(FileMessage::Kind::kError, std::string(), 0,
                            "nothing written: " +
                                Plural(outcome.orphans.size(), "user-code section", "user-code sections") +
                                " would be lost (--force writes the file and saves " +
                                (outcome.orphans.size() == 1 ? "it" : "them") + " to '" + _path + ".orphans')"));
        return Status::kRefused;
    }
    _orphans = std::move(outcome.orphans);
    _orphanReason =
        outcome.conflicts.empty() ? "its owner is no longer in the model" : "mttgen could not tell its owner for sure";
    _text->Compose(outcome.texts);
    // A file mttgen has no record of is someone's until shown otherwise:
    // files with user-code markers were written by an earlier version.
    if (_file && _file->IsRegular() && !_hasRecord && !_file->Current().empty() && _existing.All().empty() &&
        _file->Current() != _text->Text()) {
        if (!iForce) {
            Error(0,
                  "not written by mttgen as far as it knows (the output folder's .mttgen-manifest has no record "
                  "of it) and different from the generated text; nothing written (--force writes it and keeps the "
                  "current file as '" +
                      OutputFile::FreeName(_path, ".edited") + "')");
            return Status::kRefused;
        }
        _keepCopy = true;
    }
    if (_existing.AnyNotIn(_syntax.Index()) && !_existing.All().empty()) {
        _report(FileMessage(FileMessage::Kind::kWarning, _path, 0,
                            "user-code markers rewritten in the comment syntax '" + _syntax.Opener() +
                                "' (the file had them in another)"));
    }
    return CheckReadBack(iMap);
}

GeneratedFile::Status GeneratedFile::CheckReadBack(const SourceMap& iMap)
{
    // A marker line inside user code, or in literal template text, would
    // cut the file up differently on the next run.
    for (size_t i = 0; i < _text->Sections().size(); ++i) {
        const std::string_view text = _text->WrittenText(i);
        for (size_t words = MarkerLine::FindWords(text, 0); words != std::string_view::npos;) {
            const size_t start = text.rfind('\n', words) + 1;  // npos + 1 is 0: the first line
            size_t end = text.find('\n', words);
            if (end == std::string_view::npos) end = text.size();
            words = end == text.size() ? std::string_view::npos : MarkerLine::FindWords(text, end + 1);
            if (MarkerLine::Read(text.substr(start, end - start)).kind != MarkerLine::Kind::kNone) {
                _report(FileMessage(FileMessage::Kind::kError, std::string(), 0,
                                    "the user code for \"" + _text->Sections()[i].key +
                                        "\" holds a user-code marker line, which would cut it up on the next run; "
                                        "nothing written"));
                return Status::kRefused;
            }
        }
    }
    // A file that already holds the new text was read back when it was
    // opened (the usual run, which changes nothing).
    _asCurrent = _file && _file->IsRegular() && _file->Current() == _text->Text();
    std::unique_ptr<UserCodeSections> read = std::move(_readBack);
    int line = 0;
    std::string problem;
    if (_asCurrent) {
        read.reset();
    } else if (!read) {
        read.reset(new UserCodeSections());
        if (!read->Read(_text->Text(), line, problem)) read.reset();
    }
    const UserCodeSections* sections = _asCurrent ? &_existing : read.get();
    for (size_t i = 0; sections != nullptr && i < sections->All().size() && problem.empty(); ++i) {
        if (i >= _text->Sections().size() || sections->All()[i].key != _text->Sections()[i].key) {
            line = sections->All()[i].beginLine;
            problem = "a user-code marker line that no usercode directive wrote";
        }
    }
    if (problem.empty()) {
        _readBack = std::move(read);
        return Status::kOk;
    }
    _report(FileMessage(FileMessage::Kind::kError, std::string(), 0,
                        "the new text would not read back (its line " + std::to_string(line) + ": " + problem +
                            "); nothing written"));
    Note(iMap, _text->StatementAtLine(line), "that line comes from ");
    return Status::kRefused;
}

Manifest::Entry GeneratedFile::Record(const std::string& iRun) const
{
    Manifest::Entry entry;
    entry.run = iRun;
    // The file's own when the text is the file as opened: digested once.
    entry.whole = _asCurrent && _currentWhole ? *_currentWhole : Digest::OfFile(_text->Text());
    if (_asCurrent) {
        // The file's own digests, taken when it was opened where it has a record.
        entry.lines = _hasRecord ? _currentDigests : HandEdits::Of(_text->Text(), _existing.All()).digests;
        return entry;
    }
    if (_readBack) {
        entry.lines = HandEdits::Of(_text->Text(), _readBack->All()).digests;
        return entry;
    }
    UserCodeSections sections;
    int line = 0;
    std::string problem;
    sections.Read(_text->Text(), line, problem);  // it reads back: checked before
    entry.lines = HandEdits::Of(_text->Text(), sections.All()).digests;
    return entry;
}

GeneratedFile::Status GeneratedFile::Prepare(std::vector<OutputFile*>& oFiles)
{
    if (!_file) return Status::kOk;
    std::string error;
    if (_keepCopy) {
        _copyFile.reset(new OutputFile(OutputFile::FreeName(_path, ".edited"), false));
        if (!_copyFile->ReadCurrent(error) || !_copyFile->Prepare(_file->Current(), error)) {
            _report(FileMessage(FileMessage::Kind::kError, std::string(), 0, error + "; nothing written"));
            return Status::kWriteFailed;
        }
        oFiles.push_back(_copyFile.get());
    }
    if (!_orphans.empty()) {
        const OrphanFile orphans(_path, _syntax);
        _orphanFile.reset(new OutputFile(orphans.Path(), false));
        if (!_orphanFile->ReadCurrent(error) ||
            !_orphanFile->Prepare(orphans.Appended(_orphanFile->Current(), _orphans, _orphanReason), error)) {
            _report(FileMessage(FileMessage::Kind::kError, std::string(), 0, error + "; nothing written"));
            return Status::kWriteFailed;
        }
        oFiles.push_back(_orphanFile.get());
    }
    if (!_file->Prepare(_text->Text(), error)) {
        _report(FileMessage(FileMessage::Kind::kError, std::string(), 0, error + "; nothing written"));
        return Status::kWriteFailed;
    }
    oFiles.push_back(_file.get());
    return Status::kOk;
}

void GeneratedFile::ReportKept() const
{
    if (_orphanFile) {
        std::string keys;
        for (const UserCodeSections::Section& orphan : _orphans) {
            keys += (keys.empty() ? "" : ", ") + (orphan.key.empty() ? std::string("(unkeyed)") : orphan.key) +
                    " (line " + std::to_string(orphan.beginLine) + ")";
        }
        _report(FileMessage(FileMessage::Kind::kWarning, _path, 0,
                            "user code without a sure owner saved to '" + _orphanFile->Path() + "': " + keys));
    }
    if (_copyFile) {
        _report(FileMessage(FileMessage::Kind::kWarning, _path, 0,
                            "the file as it was (changed by hand, or not written by mttgen) kept as '" +
                                _copyFile->Path() + "'"));
    }
}
