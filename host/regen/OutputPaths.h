#ifndef OUTPUTPATHS_H
#define OUTPUTPATHS_H

#include <string>
#include <unordered_map>

// Path arithmetic for the files of a run: where a name leads, whether it
// stays inside the output root, and which file it names even before the
// file exists (so that "x" and "./x" are one file). One object serves one
// run: it takes the current folder once, and remembers the real place of
// each folder it has looked up, which thousands of files in a few folders
// share.
class OutputPaths {
public:
    OutputPaths();

    // iPath made absolute from the current folder, with ".", ".." and
    // repeated "/" resolved as written (links not followed).
    std::string Absolute(const std::string& iPath) const;
    // The current folder, as taken when the object was made.
    const std::string& Current() const { return _current; }
    // The nearest existing folder on the way to iPath with links followed,
    // and the rest as written: one text per file, existing or not.
    std::string Identity(const std::string& iPath);
    // Whether the folders on the way to iPath, links followed, stay inside
    // iRoot's real folder.
    bool RealInside(const std::string& iRoot, const std::string& iPath);

    // Whether absolute iPath lies inside absolute folder iRoot (or is it).
    static bool Inside(const std::string& iRoot, const std::string& iPath);
    // Absolute iPath relative to iRoot, which holds it.
    static std::string Relative(const std::string& iRoot, const std::string& iPath);

private:
    // The real path of an existing absolute path; empty when it does not
    // exist. Folders are remembered, missing ones as missing.
    std::string RealPath(const std::string& iAbsolute, bool iFolder);

    std::string _current;
    std::unordered_map<std::string, std::string> _realFolders;
};

#endif
