#include "MarkerWords.h"

#include "MTTUserCodeMarkers.h"

namespace {

std::string LineOfLeaf(const char* iLeaf)
{
    std::string line(iLeaf);
    line.erase(0, line.find_first_not_of('\n'));
    line.erase(line.find_last_not_of('\n') + 1);
    return line;
}

}  // namespace

const MarkerWords& MarkerWords::Get()
{
    static const MarkerWords words = [] {
        const std::string beginLine = LineOfLeaf(MTTUserCodeMarkers::kBegin);
        const std::string endLine = LineOfLeaf(MTTUserCodeMarkers::kEnd);
        MarkerWords made;
        made.libraryOpener = beginLine.substr(0, beginLine.find(' '));
        made.begin = beginLine.substr(made.libraryOpener.size());
        made.end = endLine.substr(made.libraryOpener.size());
        made.common = made.end.substr(made.end.find(" of "));
        return made;
    }();
    return words;
}
