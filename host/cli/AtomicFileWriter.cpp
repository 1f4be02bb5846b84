#include "AtomicFileWriter.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Reason(const std::string& iPath, int iErrno) {
    return "cannot write '" + iPath + "': " + std::strerror(iErrno);
}

// The file that is really replaced: the final target of a chain of links.
std::string ResolveTarget(const std::string& iPath) {
    struct stat info;
    if (::lstat(iPath.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return iPath;
    }
    char* resolved = ::realpath(iPath.c_str(), nullptr);
    if (resolved == nullptr) {
        return iPath;  // a dangling link: replace the link itself
    }
    std::string target = resolved;
    std::free(resolved);
    return target;
}

mode_t ModeFor(const std::string& iTarget) {
    struct stat info;
    if (::stat(iTarget.c_str(), &info) == 0) {
        return info.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int iFd, const std::string& iText) {
    const char* data = iText.data();
    size_t left = iText.size();
    while (left > 0) {
        const ssize_t written = ::write(iFd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

// Devices and pipes (/dev/null, /dev/stdout) are written as they are: a
// rename would replace the device node itself.
bool WriteInPlace(const std::string& iPath, const std::string& iTarget, const std::string& iText,
                  std::string& oError) {
    const int fd = ::open(iTarget.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0) {
        oError = Reason(iPath, errno);
        return false;
    }
    bool ok = WriteAll(fd, iText);
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        oError = Reason(iPath, savedErrno);
    }
    return ok;
}

}  // namespace

bool AtomicFileWriter::Write(const std::string& iPath, const std::string& iText, std::string& oError) {
    const std::string target = ResolveTarget(iPath);
    struct stat info;
    if (::stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        if (S_ISDIR(info.st_mode)) {
            oError = Reason(iPath, EISDIR);
            return false;
        }
        return WriteInPlace(iPath, target, iText, oError);
    }
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string pattern = folder + "." + base + ".mttgen-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');

    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        oError = Reason(iPath, errno);
        return false;
    }
    const std::string temporary = name.data();
    bool ok = ::fchmod(fd, ModeFor(target)) == 0 && WriteAll(fd, iText) && ::fsync(fd) == 0;
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        oError = Reason(iPath, savedErrno);
    }
    return ok;
}
