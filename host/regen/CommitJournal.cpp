#include "CommitJournal.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "Digest.h"
#include "EncodedName.h"
#include "OutputFile.h"
#include "TextFile.h"

const char* const CommitJournal::kFileName = ".mttgen-journal";

namespace {

// Version 1 took digests a byte at a time, which cost a run writing
// megabytes several milliseconds; version 2 wrote names as JSON text, where
// bytes that are not UTF-8 were replaced. Their journals are still read.
const int kJournalVersion = 3;

std::string Hex(uint64_t iDigest)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(iDigest));
    return text;
}

// The digest a journal of iVersion records for iText.
std::string DigestOf(int iVersion, std::string_view iText)
{
    return Hex(iVersion == 1 ? Digest::OfText(iText) : Digest::OfFile(iText));
}

// The digest of a file's text, "" when it is missing or unreadable.
std::string FileDigestOf(int iVersion, const std::string& iPath)
{
    std::string text;
    std::string error;
    if (TextFile::ReadNoFollow(iPath, text, error) != TextFile::Result::kRead) return std::string();
    return DigestOf(iVersion, text);
}

// A file's name as a JSON string, byte for byte.
std::string Quoted(const std::string& iName)
{
    return nlohmann::json(EncodedName::Of(iName)).dump();
}

bool Missing(const std::string& iPath)
{
    return ::access(iPath.c_str(), F_OK) != 0 && errno == ENOENT;
}

}  // namespace

CommitJournal::CommitJournal(std::string iRoot) : _path((iRoot.empty() ? "." : iRoot) + "/" + kFileName) {}

bool CommitJournal::Begin(const std::vector<OutputFile*>& iFiles, std::string& oError)
{
    // Written as text, a step a line: a document object per step would
    // take kilobytes each, tens of megabytes for a run of thousands of files.
    std::string text = "{\"mttgen-journal\": " + std::to_string(kJournalVersion) + ",\n \"steps\": [";
    size_t steps = 0;
    for (const OutputFile* file : iFiles) {
        if (file->Unchanged() || (file->Exists() && !file->IsRegular())) continue;
        const char* kind = file->Removes() ? "remove" : file->Exists() ? "replace" : "create";
        text += steps++ == 0 ? "\n  " : ",\n  ";
        text += "{\"kind\": \"";
        text += kind;
        text += "\", \"file\": " + Quoted(file->Target());
        text += ", \"saved\": " + Quoted(file->SavedPath());
        text += ", \"old\": \"" + DigestOf(kJournalVersion, file->Current());
        text += "\", \"new\": \"" + DigestOf(kJournalVersion, file->Text()) + "\"}";
    }
    if (steps == 0) return true;
    text += "\n ]}\n";
    _begun = true;
    const std::string temporary = _path + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
    const int saved = errno;
    if (fd >= 0) ::close(fd);
    ok = ok && ::rename(temporary.c_str(), _path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        oError = "cannot write '" + _path + "': " + std::strerror(ok ? errno : saved);
    }
    return ok;
}

void CommitJournal::End()
{
    if (_begun) ::unlink(_path.c_str());
    _begun = false;
}

bool CommitJournal::Recover(std::vector<std::string>& oNotes, std::string& oError)
{
    std::string text;
    switch (TextFile::ReadNoFollow(_path, text, oError)) {
    case TextFile::Result::kMissing: return true;
    case TextFile::Result::kFailed: return false;
    case TextFile::Result::kRead: break;
    }
    const nlohmann::json journal = nlohmann::json::parse(text, nullptr, false);
    const nlohmann::json* version =
        journal.is_object() && journal.contains("mttgen-journal") ? &journal["mttgen-journal"] : nullptr;
    // A journal without a version is of the first.
    const int format = version == nullptr ? 1 : version->is_number_integer() ? version->get<int>() : 0;
    if (journal.is_discarded() || !journal.is_object() || !journal.contains("steps") || !journal["steps"].is_array() ||
        format < 1 || format > kJournalVersion) {
        oError = "'" + _path +
                 "' is left from an interrupted run but cannot be read; check the files it names, then "
                 "remove it";
        return false;
    }
    std::string unresolved;
    const nlohmann::json& steps = journal["steps"];
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        const std::string kind = step->value("kind", "");
        const auto name = [&](const char* iMember) {
            const std::string written = step->value(iMember, "");
            return format >= 3 ? EncodedName::Decoded(written) : written;
        };
        const std::string file = name("file");
        const std::string saved = name("saved");
        const std::string oldDigest = step->value("old", "");
        const std::string newDigest = step->value("new", "");
        const std::string now = FileDigestOf(format, file);
        const std::string kept = FileDigestOf(format, saved);
        bool done = false;
        bool restored = false;
        if (kind == "create") {
            if (Missing(file) || now == newDigest) {
                restored = !Missing(file) && ::unlink(file.c_str()) == 0;
                if (kept == newDigest) ::unlink(saved.c_str());
                done = true;
            }
        } else if (kind == "replace") {
            if (now == oldDigest) {  // not swapped yet
                if (kept == newDigest) ::unlink(saved.c_str());
                done = true;
            } else if (now == newDigest && kept == oldDigest &&
                       ::renameat2(AT_FDCWD, saved.c_str(), AT_FDCWD, file.c_str(), RENAME_EXCHANGE) == 0) {
                ::unlink(saved.c_str());
                done = restored = true;
            }
        } else if (kind == "remove") {
            if (!Missing(file) && now == oldDigest) {  // not moved yet
                if (kept.empty() || kept == DigestOf(format, "")) ::unlink(saved.c_str());
                done = true;
            } else if (Missing(file) && kept == oldDigest) {
                done = restored = ::rename(saved.c_str(), file.c_str()) == 0;
            }
        }
        if (restored) oNotes.push_back(file);
        if (!done) {
            unresolved += (unresolved.empty() ? "" : ", ") + std::string("'") + file +
                          "' (its earlier text may be in '" + saved + "')";
        }
    }
    if (!unresolved.empty()) {
        oError =
            "an earlier run was interrupted while it put its files in place, and these changed since, so mttgen "
            "leaves them to you: " +
            unresolved + "; then remove '" + _path + "'";
        return false;
    }
    ::unlink(_path.c_str());
    return true;
}
