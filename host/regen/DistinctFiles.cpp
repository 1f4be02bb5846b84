#include "DistinctFiles.h"

#include <sys/stat.h>

bool DistinctFiles::Add(const std::string& iRole, const std::string& iPath, std::string& oError, bool iRead)
{
    if (iPath.empty() || iPath == "-") return true;
    const size_t index = _files.size();
    auto same = _byIdentity.emplace(_paths.Identity(iPath), index).first;
    size_t other = same->second;
    struct stat info;
    if (other == index && ::stat(iPath.c_str(), &info) == 0) {
        const std::pair<unsigned long, unsigned long> inode(static_cast<unsigned long>(info.st_dev),
                                                            static_cast<unsigned long>(info.st_ino));
        other = _byInode.emplace(inode, index).first->second;
    }
    if (other != index) {
        if (same->second == index) _byIdentity.erase(same);
        // A file read twice is read twice: only writing over it would harm.
        if (iRead && _read[other]) return true;
        oError = "the " + _files[other].first + " '" + _files[other].second + "' and the " + iRole + " '" + iPath +
                 "' are the same file";
        return false;
    }
    _files.emplace_back(iRole, iPath);
    _read.push_back(iRead);
    return true;
}
