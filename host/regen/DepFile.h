#ifndef DEPFILE_H
#define DEPFILE_H

#include <string>
#include <vector>

// A Make/Ninja dependency file, as compilers write with -MD -MP: the
// outputs of a run depend on every file it read, and each of those is a
// target of its own without a rule, so that a file deleted since does not
// stop the build. Paths are absolute; blanks, '#' and '$' are escaped.
class DepFile {
public:
    static std::string Text(const std::vector<std::string>& iTargets, const std::vector<std::string>& iDependencies);
    static std::string Escaped(const std::string& iPath);
    // Whether iText is a file as Text writes them: rules of absolute paths
    // alone, nothing a person would add to a makefile.
    static bool IsDepFile(const std::string& iText);
};

#endif
