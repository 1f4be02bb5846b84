#include "DistinctFiles.h"

#include <sys/stat.h>

bool DistinctFiles::Check(const std::vector<std::pair<std::string, std::string>>& iFiles, std::string& oError)
{
    struct Seen {
        const std::pair<std::string, std::string>* file;
        dev_t device;
        ino_t inode;
    };
    std::vector<Seen> seen;
    for (const auto& file : iFiles) {
        struct stat info;
        if (file.second.empty() || file.second == "-" || ::stat(file.second.c_str(), &info) != 0) continue;
        for (const Seen& other : seen) {
            if (other.device == info.st_dev && other.inode == info.st_ino) {
                oError = "the " + other.file->first + " '" + other.file->second + "' and the " + file.first + " '" +
                         file.second + "' are the same file";
                return false;
            }
        }
        seen.push_back(Seen{&file, info.st_dev, info.st_ino});
    }
    return true;
}
