#ifndef DISTINCTFILES_H
#define DISTINCTFILES_H

#include <string>
#include <utility>
#include <vector>

// Refuses a run whose inputs and outputs name one file twice (the same
// device and inode, so hard and symbolic links count): writing the output
// over the template or the model would destroy it.
class DistinctFiles {
public:
    // iFiles: (role, path) pairs; "-" and empty paths are skipped, and so
    // are paths that do not exist yet. False with oError naming the two.
    static bool Check(const std::vector<std::pair<std::string, std::string>>& iFiles, std::string& oError);
};

#endif
