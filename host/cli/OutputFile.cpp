#include "OutputFile.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TextFile.h"

namespace {

const int kMaxLinks = 40;

std::string Reason(const std::string& iPath, int iErrno)
{
    return "cannot write '" + iPath + "': " + std::strerror(iErrno);
}

bool WriteAll(int iFd, const std::string& iText)
{
    const char* data = iText.data();
    size_t left = iText.size();
    while (left > 0) {
        const ssize_t written = ::write(iFd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

std::string FolderOf(const std::string& iPath)
{
    const size_t slash = iPath.rfind('/');
    return slash == std::string::npos ? std::string() : iPath.substr(0, slash + 1);
}

// The file a path really names: links followed, relative targets taken from
// the link's folder. A missing file at the end is fine (it is created).
bool FollowLinks(const std::string& iPath, std::string& oTarget, std::string& oError)
{
    std::string path = iPath;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            oTarget = path;
            return true;
        }
        std::vector<char> link(static_cast<size_t>(info.st_size > 0 ? info.st_size : 4096) + 1);
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<size_t>(length) >= link.size()) {
            oError = "cannot follow the link '" + path + "': " + std::strerror(length < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        const std::string target(link.data(), static_cast<size_t>(length));
        path = !target.empty() && target[0] == '/' ? target : FolderOf(path) + target;
    }
    oError = "cannot write '" + iPath + "': symbolic link loop (more than " + std::to_string(kMaxLinks) + " links)";
    return false;
}

}  // namespace

OutputFile::OutputFile(std::string iPath)
    : _path(std::move(iPath)),
      _exists(false),
      _regular(false),
      _mode(0),
      _owner(0),
      _group(0),
      _unchanged(false),
      _createFolders(false)
{
}

bool OutputFile::ReadCurrent(std::string& oError)
{
    if (!FollowLinks(_path, _target, oError)) return false;
    struct stat info;
    if (::stat(_target.c_str(), &info) != 0) {
        if (errno == ENOENT) return true;
        oError = Reason(_path, errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        oError = Reason(_path, EISDIR);
        return false;
    }
    _exists = true;
    _regular = S_ISREG(info.st_mode);
    _mode = info.st_mode & 07777;
    _owner = info.st_uid;
    _group = info.st_gid;
    if (!_regular) return true;
    std::string error;
    if (!TextFile::Read(_target, _current, error)) {
        oError = error + " (it is read to keep its user code)";
        return false;
    }
    return true;
}

bool OutputFile::StillAsRead() const
{
    struct stat info;
    if (::stat(_target.c_str(), &info) != 0) return !_exists;
    if (!_exists || !S_ISREG(info.st_mode)) return false;
    std::string now;
    std::string error;
    return TextFile::Read(_target, now, error) && now == _current;
}

bool OutputFile::Prepare(const std::string& iText, std::string& oError)
{
    _text = iText;
    _unchanged = _exists && _regular && iText == _current;
    if (_unchanged || (_exists && !_regular)) return true;

    const size_t slash = _target.rfind('/');
    const std::string base = slash == std::string::npos ? _target : _target.substr(slash + 1);
    std::string pattern = FolderOf(_target) + "." + base + ".mttgen-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0 && errno == ENOENT && _createFolders && !FolderOf(_target).empty()) {
        std::error_code error;
        std::filesystem::create_directories(FolderOf(_target), error);
        name.assign(pattern.begin(), pattern.end());  // the failed call may have changed it
        name.push_back('\0');
        fd = ::mkstemp(name.data());
    }
    if (fd < 0) {
        oError = Reason(_path, errno);
        return false;
    }
    if (!_temporary.Guard(name.data())) {
        ::close(fd);
        ::unlink(name.data());
        oError = Reason(_path, ENAMETOOLONG);
        return false;
    }
    mode_t mode = static_cast<mode_t>(_mode);
    if (!_exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0;
    // Root rewriting someone else's file must not take it over.
    if (ok && _exists && ::geteuid() == 0) ok = ::fchown(fd, _owner, _group) == 0;
    ok = ok && WriteAll(fd, iText) && ::fsync(fd) == 0;
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) oError = Reason(_path, savedErrno);
    return ok;
}

OutputFile::Result OutputFile::Commit(std::string& oError)
{
    // A test stops here to change the file or interrupt the run.
    if (std::getenv("MTTGEN_PAUSE_BEFORE_COMMIT") != nullptr) ::raise(SIGSTOP);
    if (_exists && !_regular) {
        const int fd = ::open(_target.c_str(), O_WRONLY | O_TRUNC);
        if (fd < 0 || !WriteAll(fd, _text)) {
            oError = Reason(_path, errno);
            if (fd >= 0) ::close(fd);
            return Result::kFailed;
        }
        ::close(fd);
        return Result::kWritten;
    }
    if (!StillAsRead()) {
        oError = "'" + _path + "' changed while mttgen ran; nothing written (run again to regenerate it)";
        return Result::kChanged;
    }
    if (_unchanged) return Result::kUnchanged;
    if (::rename(_temporary.Path().c_str(), _target.c_str()) != 0) {
        oError = Reason(_path, errno);
        return Result::kFailed;
    }
    _temporary.Release();
    return Result::kWritten;
}
