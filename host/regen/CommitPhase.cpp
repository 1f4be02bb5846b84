#include "CommitPhase.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CommitJournal.h"
#include "OutputFile.h"
#include "SignalsHeld.h"

namespace {

bool IsDevice(const OutputFile* iFile)
{
    return iFile->Exists() && !iFile->IsRegular();
}

const char* const kChangedAdvice = " (run again to regenerate it)";

// The prepared texts reach the disk before any is put in place, so that
// a power cut cannot leave an empty file under a generated name: one flush
// per file system, not one per file.
bool Flush(const std::vector<OutputFile*>& iFiles, std::string& oError)
{
    std::set<dev_t> flushed;
    std::set<std::string> folders;
    for (const OutputFile* file : iFiles) {
        if (file->Unchanged() || file->Removes() || IsDevice(file)) continue;
        const std::string& path = file->SavedPath();
        const size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        if (!folders.insert(folder).second) continue;
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat info;
        if (fd < 0 || ::fstat(fd, &info) != 0) {
            if (fd >= 0) ::close(fd);
            continue;  // the commit itself will say what is wrong
        }
        const bool ok = !flushed.insert(info.st_dev).second || ::syncfs(fd) == 0;
        const int error = errno;
        ::close(fd);
        if (!ok) {
            oError = "cannot write '" + file->Path() + "' to disk: " + std::strerror(error) + "; nothing written";
            return false;
        }
    }
    return true;
}

// Puts back iDone, last first, and ends ioError with what that gave.
void RollBack(std::vector<OutputFile*>& ioDone, std::string& ioError, const char* iAdvice)
{
    std::string failures;
    for (auto file = ioDone.rbegin(); file != ioDone.rend(); ++file) {
        std::string error;
        if (!(*file)->Rollback(error)) failures += "; " + error;
    }
    ioDone.clear();
    ioError += failures.empty() ? std::string("; nothing written") + iAdvice : failures;
}

}  // namespace

CommitPhase::Outcome CommitPhase::Run(const std::string& iRoot, const std::vector<OutputFile*>& iFiles)
{
    Outcome outcome;
    // A test stops here to change a file or interrupt the run.
    if (std::getenv("MTTGEN_PAUSE_BEFORE_COMMIT") != nullptr) ::raise(SIGSTOP);
    // A file changed since it was read stops the run before anything moves.
    for (const OutputFile* file : iFiles) {
        if (!IsDevice(file) && !file->StillAsRead()) {
            outcome.kind = Outcome::Kind::kChanged;
            outcome.error = "'" + file->Path() + "' changed while mttgen ran; nothing written" + kChangedAdvice;
            return outcome;
        }
    }
    if (!Flush(iFiles, outcome.error)) {
        outcome.kind = Outcome::Kind::kFailed;
        return outcome;
    }
    // Interrupting signals wait until the files are all in place or all back.
    SignalsHeld held;
    CommitJournal journal(iRoot);
    if (!journal.Begin(iFiles, outcome.error)) {
        outcome.kind = Outcome::Kind::kFailed;
        outcome.error += "; nothing written";
        return outcome;
    }
    std::vector<OutputFile*> done;
    for (OutputFile* file : iFiles) {
        if (IsDevice(file)) continue;
        std::string error;
        const OutputFile::Result result = file->Commit(error);
        if (result == OutputFile::Result::kWritten) {
            done.push_back(file);
        } else if (result != OutputFile::Result::kUnchanged) {
            outcome.kind = result == OutputFile::Result::kChanged ? Outcome::Kind::kChanged : Outcome::Kind::kFailed;
            outcome.error = error;
            RollBack(done, outcome.error, result == OutputFile::Result::kChanged ? kChangedAdvice : "");
            journal.End();
            return outcome;
        }
    }
    // An editor that had a file open may have written into the text being
    // replaced: then its save wins and the run is taken back.
    for (OutputFile* file : done) {
        if (!file->Removes() && !file->Exists()) continue;
        if (!file->SavedIntact()) {
            outcome.kind = Outcome::Kind::kChanged;
            outcome.error = "'" + file->Path() + "' changed while mttgen ran";
            RollBack(done, outcome.error, kChangedAdvice);
            journal.End();
            return outcome;
        }
    }
    journal.End();
    for (OutputFile* file : done) {
        file->Discard();
        outcome.changed.push_back(file);
    }
    for (OutputFile* file : iFiles) {
        if (!IsDevice(file)) continue;
        std::string error;
        if (file->Commit(error) != OutputFile::Result::kWritten) {
            outcome.kind = Outcome::Kind::kFailed;
            outcome.error = error;
            return outcome;
        }
        outcome.changed.push_back(file);
    }
    outcome.written = outcome.changed.size();
    return outcome;
}
