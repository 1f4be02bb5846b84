#ifndef TEXTFILE_H
#define TEXTFILE_H

#include <string>

// Whole-file reads, with the system's reason on failure.
class TextFile {
public:
    // Reads iPath ("-" reads standard input). False with oError, e.g.
    // "cannot read 'x.mtt': No such file or directory".
    static bool Read(const std::string& iPath, std::string& oText, std::string& oError);
    // True when iPath names a regular file, or a link to one.
    static bool IsRegularFile(const std::string& iPath);
};

#endif
