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
        const std::string begin = LineOfLeaf(MTTUserCodeMarkers::kBegin);
        const std::string end = LineOfLeaf(MTTUserCodeMarkers::kEnd);
        MarkerWords made;
        made.libraryOpener = begin.substr(0, begin.find(' '));
        made.begin = begin.substr(made.libraryOpener.size());
        made.end = end.substr(made.libraryOpener.size());
        made.common = made.end.substr(made.end.find(" of "));
        return made;
    }();
    return words;
}
