#ifndef DISTINCTFILES_H
#define DISTINCTFILES_H

#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "OutputPaths.h"

// Refuses a run whose inputs and outputs name one file twice: writing an
// output over the template, the model or another output would destroy
// it. Two names are one file when they have one device and inode (hard
// and symbolic links count), or, for files that do not exist yet, when
// they lead to the same place ("x" and "./x").
class DistinctFiles {
public:
    // Adds (role, path); "-" and empty paths are skipped. False with
    // oError naming both when the file was added before, unless both are
    // files the run only reads (iRead).
    bool Add(const std::string& iRole, const std::string& iPath, std::string& oError, bool iRead = false);

private:
    OutputPaths _paths;
    std::vector<std::pair<std::string, std::string>> _files;  // role, path
    std::vector<bool> _read;
    std::unordered_map<std::string, size_t> _byIdentity;
    std::map<std::pair<unsigned long, unsigned long>, size_t> _byInode;
};

#endif
