#include "RunMarker.h"

#include <cerrno>
#include <filesystem>
#include <random>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "EncodedName.h"
#include "SignalsHeld.h"
#include "TextFile.h"

namespace {

thread_local RunMarker* tCurrent = nullptr;

// Long enough that two runs never draw the same: a sweep removes by it.
std::string NewTag()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::string tag;
    for (int i = 0; i < 12; ++i) tag += kLetters[device() % (sizeof kLetters - 1)];
    return tag;
}

bool IsTag(std::string_view iText)
{
    if (iText.empty()) return false;
    for (const char c : iText) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

// Removes the regular files of iFolder whose names carry iTag as a
// temporary file's do (".NAME.mttgen-TAG-XXXXXX").
size_t RemoveTagged(const std::string& iFolder, const std::string& iTag)
{
    DIR* folder = ::opendir(iFolder.c_str());
    if (folder == nullptr) return 0;
    const std::string mark = ".mttgen-" + iTag + "-";
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name(entry->d_name);
        if (name.size() > mark.size() && name[0] == '.' && name.find(mark) != std::string_view::npos) {
            names.emplace_back(name);
        }
    }
    size_t removed = 0;
    const int fd = ::dirfd(folder);
    for (const std::string& name : names) {
        struct stat info;
        if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            ::unlinkat(fd, name.c_str(), 0) == 0) {
            ++removed;
        }
    }
    ::closedir(folder);
    return removed;
}

}  // namespace

const char* const RunMarker::kFolder = ".mttgen-runs";

RunMarker::RunMarker(std::string iRoot) : _root(std::move(iRoot)) {}

RunMarker::~RunMarker()
{
    End();
}

void RunMarker::End()
{
    if (_fd < 0) return;
    _markerGuard.Release();
    ::unlink(_path.c_str());
    ::close(_fd);
    _fd = -1;
    _folders.clear();
    // Left when another run's marker is there.
    _folderGuard.Release();
    ::rmdir((_root + "/" + kFolder).c_str());
}

RunMarker* RunMarker::Current()
{
    return tCurrent;
}

RunMarker::Active::Active(RunMarker& ioMarker) : _before(tCurrent)
{
    tCurrent = &ioMarker;
}

RunMarker::Active::~Active()
{
    tCurrent = _before;
}

bool RunMarker::Begin()
{
    // A sweep may lock a marker in the instant between its making and its
    // locking, and remove it, and a run that ends removes the folder when
    // it is empty: then they are made again.
    const std::string folder = _root + "/" + kFolder;
    // Made and guarded with the interrupting signals held, as temporary
    // files are.
    const SignalsHeld held;
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        _folderGuard.Guard(folder);
        const std::string tag = NewTag();
        const std::string path = folder + "/" + tag;
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST || errno == ENOENT) continue;
            break;
        }
        struct stat info;
        _markerGuard.Guard(path);
        if (::flock(fd, LOCK_EX) != 0) {
            ::close(fd);
            break;
        }
        if (::fstat(fd, &info) == 0 && info.st_nlink > 0) {
            _tag = tag;
            _path = path;
            _fd = fd;
            return true;
        }
        ::close(fd);
    }
    // No marker: what was made of it goes.
    const std::string made = _markerGuard.Path();
    _markerGuard.Release();
    if (!made.empty()) ::unlink(made.c_str());
    _folderGuard.Release();
    ::rmdir(folder.c_str());
    return false;
}

std::string RunMarker::TagFor(const std::string& iFolder)
{
    if (_failed) return std::string();
    if (_fd < 0 && !Begin()) {
        _failed = true;
        return std::string();
    }
    // Listed before the first file is made there, so that no file of the
    // run lies where the marker does not lead; by the name given, which
    // the files of a folder share.
    if (_folders.insert(iFolder).second) {
        // As the system reads it: ".." after a link leads where the link does.
        const std::string folder = !iFolder.empty() && iFolder[0] == '/' ? iFolder : _paths.Current() + "/" + iFolder;
        TextFile::WriteAll(_fd, EncodedName::Of(folder) + "\n");
    }
    return _tag;
}

size_t RunMarker::Sweep(const std::string& iRoot)
{
    // Mostly missing: one call.
    const std::string folder = iRoot + "/" + kFolder;
    DIR* markers = ::opendir(folder.c_str());
    if (markers == nullptr) return 0;
    std::vector<std::string> tags;
    while (const dirent* entry = ::readdir(markers)) {
        if (IsTag(entry->d_name)) tags.emplace_back(entry->d_name);
    }
    ::closedir(markers);
    size_t removed = 0;
    for (const std::string& tag : tags) {
        const std::string path = folder + "/" + tag;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        // Locked: its run is still going.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        std::string folders;
        std::string error;
        TextFile::ReadNoFollow(path, folders, error);
        for (size_t start = 0; start < folders.size();) {
            size_t end = folders.find('\n', start);
            if (end == std::string::npos) end = folders.size();
            if (end > start) removed += RemoveTagged(EncodedName::Decoded(folders.substr(start, end - start)), tag);
            start = end + 1;
        }
        ::unlink(path.c_str());
        ::close(fd);
    }
    ::rmdir(folder.c_str());
    return removed;
}
