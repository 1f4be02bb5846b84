#include "MessageTally.h"

#include <cstdio>

namespace mtt {

void MessageTally::Print(const RenderMessage& iMessage)
{
    const std::string line = iMessage.ToString();
    const auto known = _printedAt.emplace(line, _printed.size());
    if (!known.second) {
        ++_printed[known.first->second].repeats;
        return;
    }
    _printed.push_back(Printed{iMessage.Where(), 0});
    std::fprintf(stderr, "%s\n", line.c_str());
    if (!iMessage.hint.empty())
        std::fprintf(stderr, "%snote: %s\n", _printed.back().where.c_str(), iMessage.hint.c_str());
}

void MessageTally::PrintCounts()
{
    for (Printed& printed : _printed) {
        if (printed.repeats == 0) continue;
        std::fprintf(stderr, "%snote: the same error %zu more %s\n", printed.where.c_str(), printed.repeats,
                     printed.repeats == 1 ? "time" : "times");
        printed.repeats = 0;
    }
}

}  // namespace mtt
