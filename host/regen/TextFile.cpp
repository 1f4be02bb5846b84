#include "TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Digest.h"

namespace {

// Reads iPath, its link not followed, a buffer at a time: iPiece(BYTES,
// COUNT, AT) is given each piece and may stop the read. False unless it is
// a regular file of iSize bytes that iPiece took whole.
template <class Piece>
bool ReadsNoFollow(const std::string& iPath, uint64_t iSize, Piece&& iPiece)
{
    const int fd = ::open(iPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info;
    bool same = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_size) == iSize;
    char buffer[65536];
    uint64_t done = 0;
    while (same) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        // The size may have changed since fstat: what is read decides.
        if (count <= 0) {
            same = count == 0 && done == iSize;
            break;
        }
        const size_t got = static_cast<size_t>(count);
        same = got <= iSize - done && iPiece(buffer, got, static_cast<size_t>(done));
        done += got;
    }
    ::close(fd);
    return same;
}

std::string CannotRead(const std::string& iPath, int iErrno)
{
    return "cannot read '" + iPath + "': " + std::strerror(iErrno);
}

// Appends the rest of iFd's bytes to oText; false, errno telling why, when
// a read fails.
bool ReadAll(int iFd, std::string& oText)
{
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(iFd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return count == 0;
        oText.append(buffer, static_cast<size_t>(count));
    }
}

// Reads a regular file whose status gave iSize bytes. A byte more is asked
// for: such a file gives all it has, so a shorter read is its end, and the
// read that would find nothing is spared. Linux gives at most some 2 GiB a
// read: past 1 GiB, the end is found by the loop. A file grown since is
// read on to its end.
bool ReadSized(int iFd, size_t iSize, std::string& oText)
{
    const size_t asked = iSize + 1;
    oText.resize(asked);
    ssize_t count = 0;
    do {
        count = ::read(iFd, &oText[0], asked);
    } while (count < 0 && errno == EINTR);
    if (count < 0) return false;
    oText.resize(static_cast<size_t>(count));
    const bool ended = static_cast<size_t>(count) < asked && asked <= (size_t(1) << 30);
    return ended || ReadAll(iFd, oText);
}

const size_t kSizeUnknown = SIZE_MAX;

// Reads iFd whole (iSize: a regular file's bytes, or kSizeUnknown) and
// closes it; false with oError naming iPath.
bool ReadAndClose(int iFd, size_t iSize, const std::string& iPath, std::string& oText, std::string& oError)
{
    const bool ok = iSize == kSizeUnknown ? ReadAll(iFd, oText) : ReadSized(iFd, iSize, oText);
    const int savedErrno = errno;
    ::close(iFd);
    if (!ok) {
        oText.clear();
        oError = CannotRead(iPath, savedErrno);
    }
    return ok;
}

}  // namespace

// Through a descriptor rather than a stream, standard input too: a run
// that regenerates ten thousand files reads each, and a stream's buffer and
// a status taken before opening cost three system calls more per file.
bool TextFile::Read(const std::string& iPath, std::string& oText, std::string& oError)
{
    oText.clear();
    if (iPath == "-") {
        if (!ReadAll(STDIN_FILENO, oText)) {
            oError = std::string("cannot read standard input: ") + std::strerror(errno);
            return false;
        }
        return true;
    }
    const int fd = ::open(iPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        oError = CannotRead(iPath, errno);
        return false;
    }
    size_t size = kSizeUnknown;
    struct stat info;
    if (::fstat(fd, &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            ::close(fd);
            oError = CannotRead(iPath, EISDIR);
            return false;
        }
        // Read at once into room for the whole file: growing by doubling
        // would copy a large model or template several times over.
        if (S_ISREG(info.st_mode)) size = static_cast<size_t>(info.st_size);
    }
    return ReadAndClose(fd, size, iPath, oText, oError);
}

bool TextFile::Read(const std::string& iPath, size_t iSize, std::string& oText, std::string& oError)
{
    oText.clear();
    const int fd = ::open(iPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        oError = CannotRead(iPath, errno);
        return false;
    }
    return ReadAndClose(fd, iSize, iPath, oText, oError);
}

bool TextFile::ReadHead(const std::string& iPath, size_t iSize, size_t iHeadBytes, std::string& oHead,
                        uint64_t& oDigest, size_t& oRead, std::string& oError)
{
    oHead.clear();
    oRead = 0;
    const int fd = ::open(iPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        oError = CannotRead(iPath, errno);
        return false;
    }
    Digest::Reading reading(iSize);
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            oError = CannotRead(iPath, errno);
            ::close(fd);
            return false;
        }
        if (count == 0) break;
        const size_t got = static_cast<size_t>(count);
        if (oHead.size() < iHeadBytes) oHead.append(buffer, std::min(got, iHeadBytes - oHead.size()));
        reading.Add(buffer, got);
        oRead += got;
    }
    ::close(fd);
    oDigest = reading.Value();
    return true;
}

bool TextFile::IsRegularFile(const std::string& iPath)
{
    struct stat info;
    return ::stat(iPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool TextFile::HoldsNoFollow(const std::string& iPath, std::string_view iText)
{
    return ReadsNoFollow(iPath, iText.size(), [iText](const char* iBytes, size_t iCount, size_t iAt) {
        return std::memcmp(iBytes, iText.data() + iAt, iCount) == 0;
    });
}

bool TextFile::HoldsNoFollow(const std::string& iPath, uint64_t iSize, uint64_t iDigest)
{
    Digest::Reading reading(iSize);
    const bool read = ReadsNoFollow(iPath, iSize, [&reading](const char* iBytes, size_t iCount, size_t) {
        reading.Add(iBytes, iCount);
        return true;
    });
    return read && reading.Value() == iDigest;
}

TextFile::Result TextFile::ReadNoFollow(const std::string& iPath, std::string& oText, std::string& oError)
{
    oText.clear();
    const int fd = ::open(iPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return Result::kMissing;
        oError = errno == ELOOP ? "'" + iPath +
                                      "' is a symbolic link; mttgen does not follow links it did not make "
                                      "or was not given"
                                : CannotRead(iPath, errno);
        return Result::kFailed;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        oError = "'" + iPath + "' is not a regular file";
        return Result::kFailed;
    }
    return ReadAndClose(fd, static_cast<size_t>(info.st_size), iPath, oText, oError) ? Result::kRead : Result::kFailed;
}

bool TextFile::WriteAll(int iFd, std::string_view iText)
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
