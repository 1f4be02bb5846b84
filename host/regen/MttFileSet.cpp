#include "MttFileSet.h"

#include <cstdio>
#include <set>

#include <sys/stat.h>

#include "CommitJournal.h"
#include "CommitPhase.h"
#include "DistinctFiles.h"
#include "FolderLock.h"
#include "GeneratedFile.h"
#include "Manifest.h"
#include "MttTemplate.h"
#include "OutputFile.h"
#include "OutputPaths.h"
#include "RunMarker.h"
#include "StaleFiles.h"
#include "UserCodeKeys.h"
#include "UserCodeSections.h"

namespace mtt {

namespace {

const char* KindWord(FileMessage::Kind iKind)
{
    switch (iKind) {
    case FileMessage::Kind::kError: return "error: ";
    case FileMessage::Kind::kWarning: return "warning: ";
    case FileMessage::Kind::kNote: return "note: ";
    case FileMessage::Kind::kInfo: break;
    }
    return "";
}

bool FolderExists(const std::string& iPath)
{
    struct stat info;
    return ::stat(iPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string FileMessage::ToString(const std::string& iProgram) const
{
    std::string place = file.empty() ? iProgram : file;
    if (!file.empty() && line > 0) place += ":" + std::to_string(line);
    if (!file.empty() && line > 0 && column > 0) place += ":" + std::to_string(column);
    return place + ": " + KindWord(kind) + text + "\n";
}

// One file of the run: generated (with user code) or plain.
struct Entry {
    std::unique_ptr<GeneratedFile> generated;
    std::unique_ptr<OutputFile> plain;
    std::string plainText;
    // A plain file that held someone's text is kept beside it (--force).
    bool keepPlain = false;
    std::unique_ptr<OutputFile> plainCopy;
    std::string relative;  // in the root, for the manifest; empty: not recorded
    std::string run;       // what wrote it, in the manifest
};

struct FileSet::State {
    explicit State(FileSetOptions iOptions)
        : options(std::move(iOptions)), keys(options.keyMembers), root(paths.Absolute(options.root))
    {
    }

    void Report(const FileMessage& iMessage)
    {
        if (options.onMessage) {
            options.onMessage(iMessage);
        } else {
            messages.push_back(iMessage);
        }
    }
    void Error(const std::string& iText) { Report(FileMessage(FileMessage::Kind::kError, std::string(), 0, iText)); }
    GeneratedFile::Report Reporter()
    {
        return [this](const FileMessage& iMessage) { Report(iMessage); };
    }
    // Before the first file: what an interrupted run left.
    FileSetStatus Start();
    // The record, read before the first file in the folder is added: a run
    // that writes only to standard output neither reads nor writes it.
    FileSetStatus ReadManifest();
    // Whether the run writes a file (not only standard output).
    bool WritesFiles() const;
    // Where iPath may be written; false after saying why.
    bool Admit(const std::string& iRole, const std::string& iPath, bool iNamedByUser);
    // The generated files, relative to the root, and the runs that wrote
    // them; an error when one has no text yet.
    FileSetStatus Written(std::set<std::string>& oRecorded, std::set<std::string>& oRuns);

    FileSetOptions options;
    UserCodeKeys keys;
    OutputPaths paths;
    std::string root;
    // Made at the commit; it goes after the files, whose temporary files it
    // lists.
    std::unique_ptr<RunMarker> marker;
    bool started = false;
    bool manifestRead = false;
    Manifest manifest;
    std::set<std::string> runs;  // named by AddRun
    DistinctFiles distinct;
    bool standardOutput = false;
    std::vector<Entry> entries;
    std::vector<FileMessage> messages;
    size_t written = 0;
};

FileSetStatus FileSet::State::Start()
{
    if (started) return FileSetStatus::kOk;
    started = true;
    for (const auto& input : options.inputs) {
        std::string error;
        if (!distinct.Add(input.first, input.second, error, true)) {
            Error(error + "; nothing written");
            return FileSetStatus::kBadInput;
        }
    }
    if (!FolderExists(root)) return FileSetStatus::kOk;
    std::vector<std::string> restored;
    std::string error;
    if (!CommitJournal(root).Recover(restored, error)) {
        Error(error);
        return FileSetStatus::kRefused;
    }
    for (const std::string& file : restored) {
        Report(FileMessage(FileMessage::Kind::kWarning, file, 0,
                           "put back as it was before a run that was interrupted while it wrote its files"));
    }
    // Only once every file is put back: the journal names some of them.
    const size_t swept = RunMarker::Sweep(root);
    if (swept > 0) {
        Report(FileMessage(FileMessage::Kind::kNote, std::string(), 0,
                           "removed " + std::to_string(swept) + " temporary file" + (swept == 1 ? "" : "s") +
                               " that a run killed before it finished left behind"));
    }
    return FileSetStatus::kOk;
}

FileSetStatus FileSet::State::ReadManifest()
{
    if (manifestRead) return FileSetStatus::kOk;
    // A root not made yet has no record, and only this run's commit makes it.
    manifestRead = true;
    if (!FolderExists(root)) return FileSetStatus::kOk;
    std::string error;
    if (!manifest.Load(root, error)) {
        Error(error);
        return FileSetStatus::kBadInput;
    }
    return FileSetStatus::kOk;
}

bool FileSet::State::WritesFiles() const
{
    if (!runs.empty()) return true;
    for (const Entry& entry : entries) {
        if (entry.plain || (entry.generated && !entry.generated->IsStandardOutput())) return true;
    }
    return false;
}

bool FileSet::State::Admit(const std::string& iRole, const std::string& iPath, bool iNamedByUser)
{
    const std::string absolute = paths.Absolute(iPath);
    const std::string shown = options.root.empty() ? std::string("the current folder") : "'" + options.root + "'";
    if (!OutputPaths::Inside(root, absolute)) {
        Error("the " + iRole + " '" + iPath + "' lies outside " + shown + ", where this run writes; nothing written");
        return false;
    }
    if (!iNamedByUser && !paths.RealInside(root, iPath)) {
        Error("the " + iRole + " '" + iPath + "' leads outside " + shown +
              " through a symbolic link on its way; nothing written");
        return false;
    }
    std::string error;
    if (!distinct.Add(iRole, iPath, error)) {
        Error(error + "; nothing written");
        return false;
    }
    return true;
}

FileSet::FileSet(FileSetOptions iOptions) : _state(new State(std::move(iOptions))) {}

FileSet::~FileSet()
{
    // Files hold output trees that point into the template's statements
    // and the model; they go while those still live.
    _state->entries.clear();
}

FileSetStatus FileSet::Add(const std::string& iPath, bool iNamedByUser, const std::string& iRun)
{
    State& state = *_state;
    const FileSetStatus started = state.Start();
    if (started != FileSetStatus::kOk) return started;
    const bool toStandardOutput = iPath.empty() || iPath == "-";
    if (toStandardOutput && state.standardOutput) {
        state.Error("two outputs to standard output; nothing written");
        return FileSetStatus::kBadInput;
    }
    if (!toStandardOutput && !state.Admit("output", iPath, iNamedByUser)) return FileSetStatus::kBadInput;
    if (!toStandardOutput) {
        const FileSetStatus read = state.ReadManifest();
        if (read != FileSetStatus::kOk) return read;
    }
    state.standardOutput = state.standardOutput || toStandardOutput;
    CommentSyntax syntax = CommentSyntax::ForFile(iPath);
    if (!state.options.commentSyntax.empty()) CommentSyntax::FromOpener(state.options.commentSyntax, &syntax);
    Entry entry;
    if (!toStandardOutput) entry.relative = OutputPaths::Relative(state.root, state.paths.Absolute(iPath));
    entry.run = iRun.empty() ? entry.relative : iRun;
    entry.generated.reset(new GeneratedFile(toStandardOutput ? std::string() : iPath, syntax, iNamedByUser,
                                            state.options.createFolders, state.manifest.Find(entry.relative),
                                            state.Reporter()));
    const FileSetStatus opened = entry.generated->Open(state.options.force);
    const OutputFile* file = entry.generated->Written();
    // Only regular files are recorded: a device holds no generated text.
    if (file == nullptr || (file->Exists() && !file->IsRegular())) entry.relative.clear();
    state.entries.push_back(std::move(entry));
    return opened;
}

FileSetStatus FileSet::AddRun(const std::string& iRun)
{
    State& state = *_state;
    const FileSetStatus started = state.Start();
    if (started != FileSetStatus::kOk) return started;
    state.runs.insert(iRun);
    return state.ReadManifest();
}

FileSetStatus FileSet::AddPlain(const std::string& iPath, const std::string& iRole, const TextTest& iWrittenBefore,
                                size_t iOpeningBytes)
{
    State& state = *_state;
    const FileSetStatus started = state.Start();
    if (started != FileSetStatus::kOk) return started;
    std::string error;
    if (!state.distinct.Add(iRole, iPath, error)) {
        state.Error(error + "; nothing written");
        return FileSetStatus::kBadInput;
    }
    Entry entry;
    entry.plain.reset(new OutputFile(iPath, true));
    if (state.options.createFolders) entry.plain->CreateFolders();
    if (!entry.plain->ReadCurrent(error, iOpeningBytes)) {
        state.Error(error + "; nothing written");
        return FileSetStatus::kWriteFailed;
    }
    const std::string& current = entry.plain->Current();
    if (iWrittenBefore && entry.plain->IsRegular() && !current.empty() && !iWrittenBefore(current)) {
        const std::string kept = OutputFile::FreeName(iPath, ".edited");
        if (!state.options.force) {
            state.Report(FileMessage(FileMessage::Kind::kError, iPath, 1,
                                     std::string("not written by mttgen as far as it knows (it is not ") +
                                         (iRole.find_first_of("aeiou") == 0 ? "an " : "a ") + iRole +
                                         "); nothing written (--force writes the " + iRole +
                                         " and keeps the current file as '" + kept + "')"));
            return FileSetStatus::kRefused;
        }
        entry.keepPlain = true;
        // Its copy takes the whole text, not the opening that told it.
        if (iOpeningBytes > 0 && !entry.plain->ReadCurrent(error)) {
            state.Error(error + "; nothing written");
            return FileSetStatus::kWriteFailed;
        }
    }
    // Its text is copied to FILE.edited, or only compared.
    if (!entry.keepPlain) entry.plain->ForgetCurrent();
    state.entries.push_back(std::move(entry));
    return FileSetStatus::kOk;
}

void FileSet::SetPlainText(size_t iFile, std::string iText)
{
    _state->entries[iFile].plainText = std::move(iText);
}

FileSetStatus FileSet::Render(size_t iFile, const Template& iTemplate, Model* iModel, const RenderOptions& iOptions,
                              RenderResult& oResult)
{
    State& state = *_state;
    GeneratedFile& file = *state.entries[iFile].generated;
    // The tree is built only when something needs more than the text, the
    // places of the usercode directives' pieces in it or the tree's shape.
    bool tree = iModel == nullptr || iOptions.keepOutput;
    RenderOptions options = iOptions;
    options.keepOutput = tree;
    options.text = !tree;
    options.shape = !tree && iOptions.shape;
    options.userCodePieces = !tree && !options.shape && iTemplate.HasUserCode();
    options.keepRendered = !tree;
    // The text will likely be as long as the file it replaces: a better
    // guess than the caller's.
    const OutputFile* written = file.Written();
    if (written != nullptr && written->Exists()) {
        options.sizeHint = written->Current().size() + written->Current().size() / 16;
    }
    oResult = iModel != nullptr ? iTemplate.Render(*iModel, options) : iTemplate.RenderLate(options);
    // A marker line in the text, other than those of usercode directives,
    // is refused with the directive that wrote it, which only the tree
    // tells; a clean render says nothing the second time.
    std::unique_ptr<UserCodeSections> read;
    const std::string_view rendered(oResult.rendered.ConvertToChar(), oResult.rendered.Length());
    if (oResult.ok && !tree && !options.shape &&
        (options.userCodePieces ? GeneratedFile::HoldsMarkers(rendered, oResult.userCode)
                                : GeneratedFile::HoldsMarkers(rendered, &read))) {
        tree = true;
        options.keepOutput = true;
        options.text = false;
        options.userCodePieces = false;
        options.keepRendered = false;
        oResult = iTemplate.Render(*iModel, options);
    }
    if (!oResult.ok && !(oResult.evaluated && state.options.keepGoing)) {
        // The file takes nothing: the caller has the text where it asked.
        if (!tree) oResult.rendered.MoveTo(oResult.text);
        return FileSetStatus::kOk;
    }
    const GeneratedText::SectionNamer namer = [&iTemplate](const MTTIStatement* iStatement) {
        return iTemplate.UserCodeName(iStatement);
    };
    if (options.shape && oResult.shape) {
        return file.Build(std::move(oResult.rendered), std::move(*oResult.shape), state.keys, namer,
                          iTemplate.Sources(), state.options.force);
    }
    if (options.userCodePieces) {
        return file.Build(std::move(oResult.rendered), std::move(oResult.userCode), state.keys, namer,
                          iTemplate.Sources(), state.options.force);
    }
    if (!tree)
        return file.Build(std::move(oResult.rendered), iTemplate.Sources(), state.options.force, std::move(read));
    return file.Build(std::move(oResult.output), state.keys, namer, iTemplate.Sources(), state.options.force);
}

FileSetStatus FileSet::State::Written(std::set<std::string>& oRecorded, std::set<std::string>& oRuns)
{
    oRuns = runs;
    for (const Entry& entry : entries) {
        if (entry.generated && !entry.generated->HasText()) {
            Error("nothing written: '" + entry.generated->Path() + "' was not generated");
            return FileSetStatus::kBadInput;
        }
        if (!entry.generated || entry.relative.empty()) continue;
        oRecorded.insert(entry.relative);
        oRuns.insert(entry.run);
    }
    return FileSetStatus::kOk;
}

FileSetStatus FileSet::Check(std::vector<Change>& oChanges)
{
    State& state = *_state;
    std::set<std::string> recorded;
    std::set<std::string> runs;
    FileSetStatus status = state.Written(recorded, runs);
    if (status != FileSetStatus::kOk) return status;
    Manifest manifest;
    std::string error;
    if (state.WritesFiles() && FolderExists(state.root) && !manifest.Load(state.root, error, &state.manifest)) {
        state.Error(error);
        return FileSetStatus::kBadInput;
    }
    StaleFiles stale(state.options, state.Reporter());
    status = stale.Plan(manifest, recorded, runs);
    if (status != FileSetStatus::kOk) return status;
    for (const Entry& entry : state.entries) {
        if (!entry.generated || entry.generated->IsStandardOutput()) continue;
        const OutputFile& file = *entry.generated->Written();
        if (file.Exists() && !file.IsRegular()) continue;
        const std::string_view text = entry.generated->Text().Text();
        if (!file.Exists()) {
            oChanges.push_back(Change{Change::Kind::kCreated, file.Path(), std::string(), std::string(text)});
        } else if (file.Current() != text) {
            oChanges.push_back(Change{Change::Kind::kChanged, file.Path(), file.Current(), std::string(text)});
        }
    }
    for (const auto& removed : stale.Removals()) {
        oChanges.push_back(Change{Change::Kind::kRemoved, removed.first, removed.second, std::string()});
    }
    return FileSetStatus::kOk;
}

FileSetStatus FileSet::Commit()
{
    State& state = *_state;
    std::set<std::string> recorded;
    std::set<std::string> runs;
    FileSetStatus status = state.Written(recorded, runs);
    if (status != FileSetStatus::kOk) return status;
    // The temporary files made from here on are listed for a later run.
    if (!state.marker) state.marker.reset(new RunMarker(state.root));
    const RunMarker::Active marked(*state.marker);
    // The record is read again under the lock, so that two runs writing
    // into one folder keep each other's entries.
    std::unique_ptr<FolderLock> lock;
    Manifest manifest;
    if (state.WritesFiles() && FolderExists(state.root)) {
        lock.reset(new FolderLock(state.root));
        std::string error;
        if (!manifest.Load(state.root, error, &state.manifest)) {
            state.Error(error);
            return FileSetStatus::kBadInput;
        }
    }
    StaleFiles stale(state.options, state.Reporter());
    status = stale.Plan(manifest, recorded, runs);
    if (status != FileSetStatus::kOk) return status;

    std::vector<OutputFile*> files;
    for (Entry& entry : state.entries) {
        if (entry.plain) {
            std::string error;
            if (entry.keepPlain) {
                entry.plainCopy.reset(new OutputFile(OutputFile::FreeName(entry.plain->Path(), ".edited"), false));
                if (!entry.plainCopy->ReadCurrent(error) || !entry.plainCopy->Prepare(entry.plain->Current(), error)) {
                    state.Error(error + "; nothing written");
                    return FileSetStatus::kWriteFailed;
                }
                files.push_back(entry.plainCopy.get());
            }
            if (!entry.plain->Prepare(entry.plainText, error)) {
                state.Error(error + "; nothing written");
                return FileSetStatus::kWriteFailed;
            }
            files.push_back(entry.plain.get());
            continue;
        }
        status = entry.generated->Prepare(files);
        if (status != FileSetStatus::kOk) return status;
        if (!entry.relative.empty()) manifest.Set(entry.relative, entry.generated->Record(entry.run));
    }
    status = stale.Prepare(files);
    if (status != FileSetStatus::kOk) return status;
    stale.Forget(manifest);
    // The record goes last: it is true only once every file is in place.
    std::unique_ptr<OutputFile> record;
    if (!recorded.empty() || manifest.Loaded()) {
        record.reset(new OutputFile(state.root + "/" + Manifest::kFileName, false));
        std::string error;
        if (!record->ReadCurrent(error) || !record->Prepare(manifest.Text(), error)) {
            state.Error(error + "; nothing written");
            return FileSetStatus::kWriteFailed;
        }
        files.push_back(record.get());
    }
    const CommitPhase::Outcome outcome = CommitPhase::Run(state.root, files);
    if (outcome.kind != CommitPhase::Outcome::Kind::kDone) {
        state.Error(outcome.error);
        return outcome.kind == CommitPhase::Outcome::Kind::kChanged ? FileSetStatus::kRefused
                                                                    : FileSetStatus::kWriteFailed;
    }
    // Every temporary file is in place or gone (a successful run may end
    // the process at once).
    state.marker->End();
    for (const Entry& entry : state.entries) {
        if (entry.plainCopy) {
            state.Report(
                FileMessage(FileMessage::Kind::kWarning, entry.plain->Path(), 0,
                            "the file as it was (not written by mttgen) kept as '" + entry.plainCopy->Path() + "'"));
        }
        if (!entry.generated) continue;
        entry.generated->ReportKept();
        const OutputFile* file = entry.generated->Written();
        if (file != nullptr && !file->Unchanged()) ++state.written;
    }
    stale.ReportDone();
    for (const Entry& entry : state.entries) {
        if (!entry.generated || !entry.generated->IsStandardOutput()) continue;
        const std::string_view text = entry.generated->Text().Text();
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
            state.Error("cannot write to standard output");
            return FileSetStatus::kWriteFailed;
        }
    }
    return FileSetStatus::kOk;
}

size_t FileSet::Size() const
{
    return _state->entries.size();
}

size_t FileSet::Written() const
{
    return _state->written;
}

const GeneratedFile& FileSet::File(size_t iFile) const
{
    return *_state->entries[iFile].generated;
}

void FileSet::ForgetPieces()
{
    for (Entry& entry : _state->entries) {
        if (entry.generated) entry.generated->ForgetPieces();
    }
}

const std::vector<FileMessage>& FileSet::Messages() const
{
    return _state->messages;
}

}  // namespace mtt
