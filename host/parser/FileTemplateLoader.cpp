#include "FileTemplateLoader.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

TemplateLoader::Result FileTemplateLoader::Load(const std::string& iPath, std::string& oText, std::string& oError) const
{
    struct stat status;
    if (::stat(iPath.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return Result::kMissing;
        oError = std::strerror(errno);
        return Result::kFailed;
    }
    if (S_ISDIR(status.st_mode)) {
        oError = "is a directory";
        return Result::kFailed;
    }
    if (!S_ISREG(status.st_mode)) {
        oError = "not a regular file";
        return Result::kFailed;
    }
    std::ifstream in(iPath, std::ios::binary);
    if (!in) {
        oError = std::strerror(errno);
        return Result::kFailed;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        oError = "read error";
        return Result::kFailed;
    }
    oText = text.str();
    return Result::kLoaded;
}
