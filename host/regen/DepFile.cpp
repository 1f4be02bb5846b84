#include "DepFile.h"

#include <set>

#include "OutputPaths.h"

std::string DepFile::Escaped(const std::string& iPath)
{
    std::string escaped;
    for (const char c : iPath) {
        if (c == ' ' || c == '\t' || c == '#' || c == '\\') {
            escaped += '\\';
        } else if (c == '$') {
            escaped += '$';
        }
        escaped += c;
    }
    return escaped;
}

std::string DepFile::Text(const std::vector<std::string>& iTargets, const std::vector<std::string>& iDependencies)
{
    const OutputPaths paths;
    std::string text;
    for (const std::string& target : iTargets) text += (text.empty() ? "" : " ") + Escaped(paths.Absolute(target));
    text += ":";
    std::set<std::string> seen;
    std::vector<std::string> dependencies;
    for (const std::string& dependency : iDependencies) {
        const std::string path = Escaped(paths.Absolute(dependency));
        if (seen.insert(path).second) dependencies.push_back(path);
    }
    for (const std::string& path : dependencies) text += " \\\n  " + path;
    text += "\n";
    for (const std::string& path : dependencies) text += "\n" + path + ":\n";
    return text;
}
