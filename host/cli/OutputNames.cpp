#include "OutputNames.h"

#include <algorithm>

#include "OutputPaths.h"

std::string OutputNames::LiteralFolder(const std::string& iName)
{
    const size_t directive = std::min(iName.find("${"), iName.find("[%"));
    const size_t slash = iName.rfind('/', directive == std::string::npos ? std::string::npos : directive);
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? std::string("/") : iName.substr(0, slash);
}

std::string OutputNames::Root(const std::vector<std::string>& iNames, const std::string& iRoot)
{
    if (!iRoot.empty() || iNames.empty()) return iRoot;
    std::vector<std::string> folders;
    for (const std::string& name : iNames) folders.push_back(LiteralFolder(name));
    if (std::all_of(folders.begin(), folders.end(), [&](const std::string& f) { return f == folders.front(); })) {
        return folders.front();
    }
    // The deepest folder that holds them all, from the first's path.
    const OutputPaths paths;
    std::string common = paths.Absolute(folders.front());
    for (const std::string& folder : folders) {
        const std::string absolute = paths.Absolute(folder);
        while (!OutputPaths::Inside(common, absolute))
            common = common.substr(0, std::max<size_t>(common.rfind('/'), 1));
    }
    const std::string current = paths.Absolute(".");
    return common == current ? std::string() : common;
}

std::string OutputNames::Run(const std::string& iName, const std::string& iRoot)
{
    const OutputPaths paths;
    const std::string literal = LiteralFolder(iName);
    const std::string root = paths.Absolute(iRoot);
    const std::string folder = paths.Absolute(literal);
    const std::string rest = literal.empty() ? iName : iName.substr(literal.size() + (literal == "/" ? 0 : 1));
    if (!OutputPaths::Inside(root, folder)) return iName;
    return folder == root ? rest : OutputPaths::Relative(root, folder) + "/" + rest;
}
