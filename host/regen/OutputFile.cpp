#include "OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Digest.h"
#include "RunMarker.h"
#include "SignalsHeld.h"
#include "TextFile.h"

namespace {

std::array<long long, 7> StatusOf(const struct stat& iInfo)
{
    return {static_cast<long long>(iInfo.st_dev),
            static_cast<long long>(iInfo.st_ino),
            static_cast<long long>(iInfo.st_size),
            static_cast<long long>(iInfo.st_mtim.tv_sec),
            iInfo.st_mtim.tv_nsec,
            static_cast<long long>(iInfo.st_ctim.tv_sec),
            iInfo.st_ctim.tv_nsec};
}

const int kMaxLinks = 40;
// A temporary file's name holds the target's, cut so that it stays a
// valid name beside it.
const size_t kMaxBaseInName = 200;

std::string Reason(const std::string& iPath, int iErrno)
{
    return "cannot write '" + iPath + "': " + std::strerror(iErrno);
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

bool Unsupported(int iErrno)
{
    return iErrno == EINVAL || iErrno == ENOSYS || iErrno == ENOTSUP || iErrno == EPERM;
}

// Swaps two names in one step; where the file system cannot, iSecond's
// file is kept under a link at iFirst and iFirst's file put at iSecond,
// which has a moment in which a file saved at iSecond could be replaced
// unseen.
bool Exchange(const std::string& iFirst, const std::string& iSecond)
{
    if (::renameat2(AT_FDCWD, iFirst.c_str(), AT_FDCWD, iSecond.c_str(), RENAME_EXCHANGE) == 0) return true;
    if (!Unsupported(errno)) return false;
    const std::string aside = iFirst + "~";
    if (::rename(iFirst.c_str(), aside.c_str()) != 0) return false;
    if (::link(iSecond.c_str(), iFirst.c_str()) != 0 || ::rename(aside.c_str(), iSecond.c_str()) != 0) {
        const int saved = errno;
        ::unlink(iFirst.c_str());
        ::rename(aside.c_str(), iFirst.c_str());
        errno = saved;
        return false;
    }
    return true;
}

// Gives iFrom the name iTo unless iTo exists (EEXIST).
bool RenameNoReplace(const std::string& iFrom, const std::string& iTo)
{
    if (::renameat2(AT_FDCWD, iFrom.c_str(), AT_FDCWD, iTo.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (!Unsupported(errno)) return false;
    if (::link(iFrom.c_str(), iTo.c_str()) != 0) return false;
    ::unlink(iFrom.c_str());
    return true;
}

// Whether another process holds the file open for writing: an editor
// that truncated it and has not written it yet. A read lease is refused
// exactly then; it is taken and given back at once. Where leases are not
// to be had (another owner's file without the right, a network file
// system), the texts alone tell.
//
// A writer that opens the file while the lease is held breaks it, and the
// kernel tells the holder with SIGIO, whose default action ends the
// process: an editor saving at that instant killed mttgen in the middle of
// its commit. For the moment of the probe the signal is ignored, unless
// the process handles it itself.
bool BeingWritten(const std::string& iPath)
{
    const int fd = ::open(iPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    const bool ignoring = ::sigaction(SIGIO, nullptr, &previous) == 0 && (previous.sa_flags & SA_SIGINFO) == 0 &&
                          previous.sa_handler == SIG_DFL && ::sigaction(SIGIO, &ignore, nullptr) == 0;
    const bool busy = ::fcntl(fd, F_SETLEASE, F_RDLCK) != 0 && errno == EAGAIN;
    if (!busy) ::fcntl(fd, F_SETLEASE, F_UNLCK);
    ::close(fd);
    if (ignoring) ::sigaction(SIGIO, &previous, nullptr);
    return busy;
}

}  // namespace

OutputFile::OutputFile(std::string iPath, bool iFollowLink) : _path(std::move(iPath)), _followLink(iFollowLink) {}

OutputFile::~OutputFile() {}

bool OutputFile::ReadCurrent(std::string& oError, size_t iHeadBytes)
{
    _current.clear();
    _forgotten = false;
    struct stat info;
    int found = 0;
    bool link = false;
    if (_followLink) {
        found = ::stat(_path.c_str(), &info) == 0 ? 0 : errno;
    } else if (::lstat(_path.c_str(), &info) != 0) {
        found = errno;
    } else if (S_ISLNK(info.st_mode)) {
        // Refused below, unless it leads to a device.
        link = true;
        found = ::stat(_path.c_str(), &info) == 0 ? 0 : errno;
    }
    // A device or a pipe, also one reached through /dev/stderr, is
    // written in place through its name.
    if (found == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        _target = _path;
        _exists = true;
        return true;
    }
    if (_followLink) {
        if (!FollowLinks(_path, _target, oError)) return false;
    } else {
        _target = _path;
        if (link) {
            oError = "'" + _path + "' is a symbolic link; mttgen writes through a link only when it was given its name";
            return false;
        }
    }
    // The status taken first serves unless a link led elsewhere.
    const int failed = _target == _path ? found : ::stat(_target.c_str(), &info) == 0 ? 0 : errno;
    if (failed != 0) {
        if (failed == ENOENT) return true;
        oError = Reason(_path, failed);
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
    _readStatus = StatusOf(info);
    std::string error;
    const size_t size = static_cast<size_t>(info.st_size);
    if (_regular && iHeadBytes > 0 && size > iHeadBytes) {
        size_t read = 0;
        if (!TextFile::ReadHead(_target, size, iHeadBytes, _current, _currentDigest, read, error)) {
            oError = error + " (it is read to keep what a person wrote in it)";
            return false;
        }
        // A file that grew or shrank while it was read is read again whole.
        if (read == size) {
            _currentSize = size;
            _forgotten = true;
            return true;
        }
    }
    const bool read =
        _regular ? TextFile::Read(_target, size, _current, error) : TextFile::Read(_target, _current, error);
    if (!read) {
        oError = error + " (it is read to keep what a person wrote in it)";
        return false;
    }
    return true;
}

void OutputFile::ForgetCurrent()
{
    if (_forgotten) {
        std::string().swap(_current);  // a head read alone
        return;
    }
    _currentSize = _current.size();
    _currentDigest = Digest::OfFile(_current);
    std::string().swap(_current);
    _forgotten = true;
}

bool OutputFile::IsCurrent(std::string_view iText) const
{
    if (!_forgotten) return iText == _current;
    return iText.size() == _currentSize && Digest::OfFile(iText) == _currentDigest;
}

bool OutputFile::HoldsCurrent(const std::string& iPath) const
{
    return _forgotten ? TextFile::HoldsNoFollow(iPath, _currentSize, _currentDigest)
                      : TextFile::HoldsNoFollow(iPath, _current);
}

bool OutputFile::StillAsRead() const
{
    struct stat info;
    if (::lstat(_target.c_str(), &info) != 0) return !_exists;
    if (!_exists || !S_ISREG(info.st_mode)) return false;
    // Eleven system calls fewer for each file of a run that changes none.
    if (_unchanged && StatusOf(info) == _readStatus) return true;
    return HoldsCurrent(_target) && !BeingWritten(_target);
}

bool OutputFile::MakeTemporary(std::string& oError)
{
    const size_t slash = _target.rfind('/');
    const std::string base = slash == std::string::npos ? _target : _target.substr(slash + 1);
    // The run's tag lets a later run find the file if this one is killed.
    const std::string tag = RunMarker::Current() != nullptr ? RunMarker::Current()->TagFor(FolderOf(_target)) : "";
    const std::string pattern = FolderOf(_target) + "." + base.substr(0, kMaxBaseInName) + ".mttgen-" +
                                (tag.empty() ? tag : tag + "-") + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = -1;
    {
        // Made and guarded with the interrupting signals held: one that
        // came in between would leave the file behind.
        const SignalsHeld held;
        fd = ::mkstemp(name.data());
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
        _temporary = name.data();
        _guard.Guard(_temporary);
    }
    if (_remove) {
        ::close(fd);
        return true;
    }
    // The mask is read once: reading it means setting it.
    static const mode_t kMask = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }();
    const mode_t mode = _exists ? static_cast<mode_t>(_mode) : (0666 & ~kMask);
    bool ok = ::fchmod(fd, mode) == 0;
    // Root rewriting someone else's file must not take it over.
    if (ok && _exists && ::geteuid() == 0) ok = ::fchown(fd, _owner, _group) == 0;
    // Not synced one by one: the commit flushes all files at once.
    ok = ok && TextFile::WriteAll(fd, _text);
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) oError = Reason(_path, savedErrno);
    return ok;
}

bool OutputFile::Prepare(std::string&& iText, std::string& oError)
{
    _ownText = std::move(iText);
    return Prepare(std::string_view(_ownText), oError);
}

bool OutputFile::Prepare(std::string_view iText, std::string& oError)
{
    _text = iText;
    _unchanged = _exists && _regular && IsCurrent(iText);
    if (_unchanged || (_exists && !_regular)) return true;
    return MakeTemporary(oError);
}

bool OutputFile::PrepareRemoval(std::string& oError)
{
    _remove = true;
    if (!_exists) return true;
    // The name the file moves to while the run commits, made now.
    return MakeTemporary(oError);
}

OutputFile::Result OutputFile::Commit(std::string& oError)
{
    if (_exists && !_regular) {
        const int fd = ::open(_target.c_str(), O_WRONLY | O_TRUNC);
        if (fd < 0 || !TextFile::WriteAll(fd, _text)) {
            oError = Reason(_path, errno);
            if (fd >= 0) ::close(fd);
            return Result::kFailed;
        }
        ::close(fd);
        _committed = Committed::kInPlace;
        return Result::kWritten;
    }
    // A file that keeps its text was checked before anything moved; a save
    // that came since stays, as nothing is written over it. Checking it
    // again took half the system calls of a run that changed nothing.
    if (_unchanged) return Result::kUnchanged;
    // Checked again right before the swap and right after it, so that a
    // save that comes in between is put back at once, before anyone reads
    // the file; the commit checks once more when all are in.
    const std::string changed = "'" + _path + "' changed while mttgen ran";
    if (!StillAsRead()) {
        oError = changed;
        return Result::kChanged;
    }
    if (_remove && !_exists) return Result::kUnchanged;
    if (_remove) {
        if (::rename(_target.c_str(), _temporary.c_str()) != 0) {
            oError = "cannot remove '" + _path + "': " + std::strerror(errno);
            return Result::kFailed;
        }
        _guard.Release();
        _committed = Committed::kRemoved;
        if (!SavedIntact()) {
            std::string note;
            oError = Rollback(note) ? changed : note;
            return Result::kChanged;
        }
        return Result::kWritten;
    }
    if (!_exists) {
        if (!RenameNoReplace(_temporary, _target)) {
            if (errno == EEXIST) {
                oError = changed;
                return Result::kChanged;
            }
            oError = Reason(_path, errno);
            return Result::kFailed;
        }
        _guard.Release();
        struct stat info;
        _createdInode = ::lstat(_target.c_str(), &info) == 0 ? static_cast<unsigned long>(info.st_ino) : 0;
        _committed = Committed::kCreated;
        return Result::kWritten;
    }
    if (!Exchange(_temporary, _target)) {
        oError = Reason(_path, errno);
        return Result::kFailed;
    }
    // From here the temporary name holds the text replaced.
    _guard.Release();
    _committed = Committed::kReplaced;
    if (!SavedIntact()) {
        std::string note;
        oError = Rollback(note) ? changed : note;
        return Result::kChanged;
    }
    return Result::kWritten;
}

bool OutputFile::SavedIntact() const
{
    return HoldsCurrent(_temporary) && !BeingWritten(_temporary);
}

bool OutputFile::Rollback(std::string& oError)
{
    bool ok = true;
    switch (_committed) {
    case Committed::kNothing:
    case Committed::kInPlace: return true;
    case Committed::kCreated: {
        struct stat info;
        if (::lstat(_target.c_str(), &info) == 0 && static_cast<unsigned long>(info.st_ino) == _createdInode) {
            ok = ::unlink(_target.c_str()) == 0;
        }
        break;
    }
    case Committed::kReplaced:
        // Someone may have saved the file after it was swapped: that save
        // stays, and the text swapped out is kept beside it.
        if (TextFile::HoldsNoFollow(_target, _text)) {
            ok = Exchange(_temporary, _target);
            if (ok && TextFile::HoldsNoFollow(_temporary, _text)) {
                ::unlink(_temporary.c_str());
                break;
            }
            ok = ok && Exchange(_temporary, _target);  // saved while swapping back
        }
        if (ok) {
            const std::string earlier = FreeName(_path, ".earlier");
            ok = RenameNoReplace(_temporary, earlier);
            if (ok) {
                oError = "'" + _path +
                         "' was saved again while mttgen ran: that save stays, and the text before it is "
                         "kept as '" +
                         earlier + "'";
                _committed = Committed::kNothing;
                return false;
            }
        }
        break;
    case Committed::kRemoved: ok = RenameNoReplace(_temporary, _target); break;
    }
    if (!ok) {
        oError = "cannot put '" + _path + "' back: " + std::strerror(errno) + "; its earlier text is in '" +
                 _temporary + "'";
        return false;
    }
    _committed = Committed::kNothing;
    return true;
}

std::string OutputFile::FreeName(const std::string& iPath, const std::string& iSuffix)
{
    std::string name = iPath + iSuffix;
    struct stat info;
    for (int n = 2; ::lstat(name.c_str(), &info) == 0; ++n) name = iPath + iSuffix + "." + std::to_string(n);
    return name;
}

void OutputFile::Discard()
{
    if (_committed == Committed::kReplaced || _committed == Committed::kRemoved) ::unlink(_temporary.c_str());
    _committed = Committed::kNothing;
}
