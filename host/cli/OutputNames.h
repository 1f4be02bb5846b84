#ifndef OUTPUTNAMES_H
#define OUTPUTNAMES_H

#include <string>
#include <vector>

// The output folder of a run, found from its -o names: the folder part of
// each up to its first "${" or "[%" ("gen" for "gen/${name}.h"), and the
// folder all of them share; and each -o name as the manifest records it,
// relative to that folder, so that it reads the same from any current
// folder.
class OutputNames {
public:
    // "gen/${name}.h" -> "gen"; "${name}.h" -> "".
    static std::string LiteralFolder(const std::string& iName);
    // The folder that holds every iNames' literal folder, as written when
    // they agree; iRoot when given (--output-root).
    static std::string Root(const std::vector<std::string>& iNames, const std::string& iRoot);
    // iName relative to iRoot, as the manifest records it.
    static std::string Run(const std::string& iName, const std::string& iRoot);
};

#endif
