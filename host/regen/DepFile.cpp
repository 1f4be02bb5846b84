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

bool DepFile::IsDepFile(const std::string& iText)
{
    if (iText.empty() || iText.back() != '\n') return false;
    size_t rules = 0;
    std::string token;
    bool fresh = true;   // at the start of a rule's first line
    bool colon = false;  // the rule's targets have ended
    bool escaped = false;
    const auto endToken = [&]() {
        if (token.empty()) return true;
        const bool ours = token[0] == '/' && !(colon && token.back() == ':');
        if (token.back() == ':') colon = true;
        token.clear();
        return ours;
    };
    for (const char c : iText) {
        if (escaped) {
            escaped = false;
            if (c != '\n') {
                token += c;
            } else if (!endToken()) {  // the rule goes on on the next line
                return false;
            }
            continue;
        }
        if (c == '\n') {
            if (!endToken()) return false;
            if (!fresh) {
                if (!colon) return false;
                ++rules;
            }
            fresh = true;
            colon = false;
            continue;
        }
        // A recipe, a comment, an assignment: a makefile of someone's.
        if (fresh && (c == ' ' || c == '\t' || c == '#')) return false;
        fresh = false;
        if (c == '\\') {
            escaped = true;
        } else if (c == ' ' || c == '\t') {
            if (!endToken()) return false;
        } else {
            token += c;
        }
    }
    return rules > 0;
}
