#include "IncludePath.h"

#include <vector>

std::string IncludePath::Folder(const std::string& iFile)
{
    const size_t slash = iFile.rfind('/');
    return slash == std::string::npos ? std::string() : iFile.substr(0, slash + 1);
}

std::string IncludePath::Join(const std::string& iFolder, const std::string& iName)
{
    if (!iName.empty() && iName[0] == '/') return Normalise(iName);
    if (iFolder.empty()) return Normalise(iName);
    return Normalise(iFolder.back() == '/' ? iFolder + iName : iFolder + "/" + iName);
}

std::string IncludePath::Normalise(const std::string& iPath)
{
    const bool absolute = !iPath.empty() && iPath[0] == '/';
    std::vector<std::string> elements;
    size_t start = 0;
    while (start <= iPath.size()) {
        size_t slash = iPath.find('/', start);
        if (slash == std::string::npos) slash = iPath.size();
        std::string element = iPath.substr(start, slash - start);
        start = slash + 1;
        if (element.empty() || element == ".") continue;
        if (element == ".." && !elements.empty() && elements.back() != "..") {
            elements.pop_back();
        } else if (element != ".." || !absolute) {
            // ".." above the root of an absolute path stays at the root.
            elements.push_back(element);
        }
    }
    std::string path = absolute ? "/" : "";
    for (size_t i = 0; i < elements.size(); ++i) path += (i == 0 ? "" : "/") + elements[i];
    return path;
}
