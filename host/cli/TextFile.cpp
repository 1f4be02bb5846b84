#include "TextFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

namespace {

bool ReadStream(FILE* iStream, std::string& oText)
{
    char buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, iStream)) > 0) {
        oText.append(buffer, count);
    }
    return !std::ferror(iStream);
}

}  // namespace

bool TextFile::Read(const std::string& iPath, std::string& oText, std::string& oError)
{
    oText.clear();
    if (iPath == "-") {
        if (!ReadStream(stdin, oText)) {
            oError = std::string("cannot read standard input: ") + std::strerror(errno);
            return false;
        }
        return true;
    }
    struct stat info;
    if (::stat(iPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        oError = "cannot read '" + iPath + "': Is a directory";
        return false;
    }
    FILE* file = std::fopen(iPath.c_str(), "rb");
    if (file == nullptr) {
        oError = "cannot read '" + iPath + "': " + std::strerror(errno);
        return false;
    }
    // Room for the whole file at once: growing by doubling would copy a
    // large model or template several times over.
    struct stat opened;
    if (::fstat(fileno(file), &opened) == 0 && S_ISREG(opened.st_mode)) oText.reserve(size_t(opened.st_size) + 1);
    const bool ok = ReadStream(file, oText);
    const int savedErrno = errno;
    std::fclose(file);
    if (!ok) {
        oError = "cannot read '" + iPath + "': " + std::strerror(savedErrno);
        return false;
    }
    return true;
}

bool TextFile::IsRegularFile(const std::string& iPath)
{
    struct stat info;
    return ::stat(iPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}
