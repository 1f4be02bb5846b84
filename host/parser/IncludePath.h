#ifndef INCLUDEPATH_H
#define INCLUDEPATH_H

#include <string>

// Paths of included files, worked out as text: the same file reached twice
// gets the same path (so cycles are found and messages name it one way)
// without asking the file system.
class IncludePath {
public:
    // The folder of a template file, with its trailing '/' ("" for a bare
    // name and for "-", the standard input).
    static std::string Folder(const std::string& iFile);
    // iName as found from iFolder (iName itself when absolute), normalised.
    static std::string Join(const std::string& iFolder, const std::string& iName);
    // Without "." elements, doubled slashes and "x/.." pairs ("a/./b/../c" -> "a/c").
    static std::string Normalise(const std::string& iPath);
};

#endif
