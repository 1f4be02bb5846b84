#include "StaleFiles.h"

#include <sys/stat.h>

#include "CommentSyntax.h"
#include "HandEdits.h"
#include "OrphanFile.h"
#include "OutputFile.h"
#include "TextFile.h"
#include "UserCodeSections.h"

using mtt::FileMessage;
using Status = mtt::FileSetStatus;

struct StaleFiles::Stale {
    std::string relative;
    std::string path;
    std::string text;
    UserCodeSections sections;
    bool edited = false;
    bool remove = false;
    std::unique_ptr<OutputFile> file;
    std::unique_ptr<OutputFile> orphans;
    std::unique_ptr<OutputFile> copy;

    std::vector<UserCodeSections::Section> Held() const
    {
        std::vector<UserCodeSections::Section> held;
        for (const UserCodeSections::Section& section : sections.All()) {
            if (!section.text.empty()) held.push_back(section);
        }
        return held;
    }
};

StaleFiles::StaleFiles(const mtt::FileSetOptions& iOptions, Report iReport)
    : _options(iOptions), _report(std::move(iReport))
{
}

StaleFiles::~StaleFiles() {}

Status StaleFiles::Plan(Manifest& ioManifest, const std::set<std::string>& iWritten, const std::set<std::string>& iRuns)
{
    Status status = Status::kOk;
    std::vector<std::string> gone;
    for (const auto& entry : ioManifest.Entries()) {
        if (iRuns.count(entry.second.run) == 0 || iWritten.count(entry.first) != 0) continue;
        std::unique_ptr<Stale> stale(new Stale);
        stale->relative = entry.first;
        // As the user wrote the root, so that messages read as the -o name.
        const std::string& root = _options.root;
        stale->path = root.empty() ? entry.first : root.back() == '/' ? root + entry.first : root + "/" + entry.first;
        std::string error;
        switch (TextFile::ReadNoFollow(stale->path, stale->text, error)) {
        case TextFile::Result::kMissing: gone.push_back(entry.first); continue;
        case TextFile::Result::kFailed:
            _report(FileMessage(FileMessage::Kind::kError, stale->path, 0, error + "; nothing written"));
            status = Status::kBadInput;
            continue;
        case TextFile::Result::kRead: break;
        }
        int line = 0;
        if (!stale->sections.Read(stale->text, line, error)) {
            _report(FileMessage(FileMessage::Kind::kError, stale->path, line, error + "; nothing written"));
            status = Status::kRefused;
            continue;
        }
        stale->edited =
            !entry.second.Holds(stale->text) &&
            !HandEdits::Find(stale->text, HandEdits::Of(stale->text, stale->sections.All()), entry.second.lines)
                 .empty();
        const std::vector<UserCodeSections::Section> held = stale->Held();
        const bool personal = !held.empty() || stale->edited;
        if (personal && !_options.force) {
            for (const UserCodeSections::Section& section : held) {
                _report(FileMessage(FileMessage::Kind::kError, stale->path, section.beginLine,
                                    "user-code section \"" + section.key +
                                        "\" of a file this run no longer writes (its model element has gone, or was "
                                        "renamed)"));
            }
            _report(FileMessage(FileMessage::Kind::kError, std::string(), 0,
                                "nothing written: '" + stale->path +
                                    "' was generated for a model element that is gone, and " +
                                    (held.empty() ? "was changed by hand" : "holds user code") +
                                    "; copy what you need to its new place, or --force saves its sections to '" +
                                    stale->path + ".orphans' and removes it"));
            status = Status::kRefused;
            continue;
        }
        stale->remove = personal || _options.prune;
        if (!stale->remove) {
            _report(FileMessage(FileMessage::Kind::kWarning, stale->path, 0,
                                "generated for a model element that is gone; --prune removes it"));
        }
        _stale.push_back(std::move(stale));
    }
    for (const std::string& relative : gone) ioManifest.Remove(relative);
    return status;
}

Status StaleFiles::Prepare(std::vector<OutputFile*>& oFiles)
{
    for (const std::unique_ptr<Stale>& stale : _stale) {
        if (!stale->remove) continue;
        std::string error;
        CommentSyntax syntax = CommentSyntax::ForFile(stale->path);
        if (!_options.commentSyntax.empty()) CommentSyntax::FromOpener(_options.commentSyntax, &syntax);
        const std::vector<UserCodeSections::Section> held = stale->Held();
        bool ok = true;
        if (stale->edited) {
            stale->copy.reset(new OutputFile(stale->path + ".edited", false));
            ok = stale->copy->ReadCurrent(error) && !stale->copy->Exists() && stale->copy->Prepare(stale->text, error);
            if (ok) oFiles.push_back(stale->copy.get());
            if (error.empty() && !ok) error = "'" + stale->path + ".edited' is in the way";
        }
        if (ok && !held.empty()) {
            const OrphanFile orphans(stale->path, syntax);
            stale->orphans.reset(new OutputFile(orphans.Path(), false));
            ok = stale->orphans->ReadCurrent(error) &&
                 stale->orphans->Prepare(orphans.Appended(stale->orphans->Current(), held,
                                                          "its file's model element is gone"),
                                         error);
            if (ok) oFiles.push_back(stale->orphans.get());
        }
        if (ok) {
            stale->file.reset(new OutputFile(stale->path, false));
            ok = stale->file->ReadCurrent(error) && stale->file->PrepareRemoval(error);
            if (ok) oFiles.push_back(stale->file.get());
        }
        if (!ok) {
            _report(FileMessage(FileMessage::Kind::kError, std::string(), 0, error + "; nothing written"));
            return Status::kWriteFailed;
        }
    }
    return Status::kOk;
}

std::vector<std::pair<std::string, std::string>> StaleFiles::Removals() const
{
    std::vector<std::pair<std::string, std::string>> removals;
    for (const std::unique_ptr<Stale>& stale : _stale) {
        if (stale->remove) removals.emplace_back(stale->path, stale->text);
    }
    return removals;
}

void StaleFiles::Forget(Manifest& ioManifest) const
{
    for (const std::unique_ptr<Stale>& stale : _stale) {
        if (stale->remove) ioManifest.Remove(stale->relative);
    }
}

void StaleFiles::ReportDone() const
{
    for (const std::unique_ptr<Stale>& stale : _stale) {
        if (!stale->remove) continue;
        std::string kept;
        if (stale->orphans) kept += ", its user code saved to '" + stale->orphans->Path() + "'";
        if (stale->copy) kept += ", the file as changed kept as '" + stale->copy->Path() + "'";
        _report(FileMessage(FileMessage::Kind::kWarning, stale->path, 0,
                            "removed: generated for a model element that is gone" + kept));
    }
}
