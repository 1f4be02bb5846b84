#ifndef OUTPUTPATHS_H
#define OUTPUTPATHS_H

#include <string>

// Path arithmetic for the files of a run: where a name leads, whether it
// stays inside the output root, and which file it names even before the
// file exists (so that "x" and "./x" are one file).
class OutputPaths {
public:
    // iPath made absolute from the current folder, with ".", ".." and
    // repeated "/" resolved as written (links not followed).
    static std::string Absolute(const std::string& iPath);
    // Whether absolute iPath lies inside absolute folder iRoot (or is it).
    static bool Inside(const std::string& iRoot, const std::string& iPath);
    // Absolute iPath relative to iRoot, which holds it.
    static std::string Relative(const std::string& iRoot, const std::string& iPath);
    // The nearest existing folder on the way to iPath with links followed,
    // and the rest as written: one text per file, existing or not.
    static std::string Identity(const std::string& iPath);
    // Whether the folders on the way to iPath, links followed, stay inside
    // iRoot's real folder.
    static bool RealInside(const std::string& iRoot, const std::string& iPath);
};

#endif
