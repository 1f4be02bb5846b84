#include "OutputPaths.h"

#include <climits>
#include <cstdlib>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string CurrentFolder()
{
    std::vector<char> buffer(PATH_MAX);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (size_t(1) << 20)) return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

// Whether an absolute path is as Absolute would write it: no "." or ".."
// part, no "/" repeated or at the end. Most names of a run are.
bool Resolved(const std::string& iWhole)
{
    if (iWhole.size() < 2 || iWhole.back() == '/') return false;
    for (size_t slash = iWhole.find('/'); slash != std::string::npos; slash = iWhole.find('/', slash + 1)) {
        const size_t next = slash + 1;
        if (next == iWhole.size() || iWhole[next] == '/') return false;
        if (iWhole[next] != '.') continue;
        // "." or "..", not ".name" or "..name".
        size_t end = next + 1;
        if (end < iWhole.size() && iWhole[end] == '.') ++end;
        if (end == iWhole.size() || iWhole[end] == '/') return false;
    }
    return true;
}

std::string ParentOf(const std::string& iAbsolute)
{
    const size_t slash = iAbsolute.rfind('/');
    return slash == 0 ? std::string("/") : iAbsolute.substr(0, slash);
}

}  // namespace

OutputPaths::OutputPaths() : _current(CurrentFolder()) {}

std::string OutputPaths::RealPath(const std::string& iAbsolute, bool iFolder)
{
    if (iFolder) {
        auto found = _realFolders.find(iAbsolute);
        if (found != _realFolders.end()) return found->second;
    }
    char* real = ::realpath(iAbsolute.c_str(), nullptr);
    std::string text;
    if (real != nullptr) text = real;
    std::free(real);
    // A missing folder is remembered as missing too: a run makes its
    // folders only once every name is admitted, and a new folder's files
    // would otherwise each ask again, a call per part of the way.
    if (iFolder) _realFolders.emplace(iAbsolute, text);
    return text;
}

std::string OutputPaths::Absolute(const std::string& iPath) const
{
    const std::string whole = !iPath.empty() && iPath[0] == '/' ? iPath : _current + "/" + iPath;
    if (Resolved(whole)) return whole;
    std::vector<std::string> parts;
    for (size_t start = 0; start <= whole.size();) {
        size_t slash = whole.find('/', start);
        if (slash == std::string::npos) slash = whole.size();
        const std::string part = whole.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    std::string path;
    for (const std::string& part : parts) path += "/" + part;
    return path.empty() ? std::string("/") : path;
}

bool OutputPaths::Inside(const std::string& iRoot, const std::string& iPath)
{
    if (iRoot == "/") return true;
    return iPath == iRoot || (iPath.compare(0, iRoot.size(), iRoot) == 0 && iPath[iRoot.size()] == '/');
}

std::string OutputPaths::Relative(const std::string& iRoot, const std::string& iPath)
{
    if (iPath == iRoot) return ".";
    return iPath.substr(iRoot == "/" ? 1 : iRoot.size() + 1);
}

std::string OutputPaths::Identity(const std::string& iPath)
{
    std::string folder = Absolute(iPath);
    std::string rest;
    // A link is followed to the file it names (another output, say); a
    // plain name is found through its folder, which many files share. A
    // folder not made yet holds no link.
    struct stat info;
    if ((folder == "/" || !RealPath(ParentOf(folder), true).empty()) && ::lstat(folder.c_str(), &info) == 0 &&
        S_ISLNK(info.st_mode)) {
        const std::string real = RealPath(folder, false);
        if (!real.empty()) return real;
    }
    for (;;) {
        const std::string real = rest.empty() ? std::string() : RealPath(folder, true);
        if (!real.empty()) return real == "/" ? rest : real + rest;
        if (folder == "/") return Absolute(iPath);
        const size_t slash = folder.rfind('/');
        rest = folder.substr(slash) + rest;
        folder = ParentOf(folder);
    }
}

bool OutputPaths::RealInside(const std::string& iRoot, const std::string& iPath)
{
    const std::string root = RealPath(Absolute(iRoot), true);
    if (root.empty()) return true;  // the root is made by this run: nothing on the way is a link yet
    // An existing folder is its real path, remembered for the files it holds.
    const std::string folder = ParentOf(Absolute(iPath));
    const std::string real = RealPath(folder, true);
    return Inside(root, real.empty() ? Identity(folder) : real);
}
