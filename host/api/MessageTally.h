#ifndef MESSAGETALLY_H
#define MESSAGETALLY_H

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "MttRenderResult.h"

namespace mtt {

// Prints render messages on the standard error stream, each once: one that
// repeats a message printed already (the same text at the same place, as a
// misspelt property gives for every element of a loop, or of --each) is
// counted instead, and PrintCounts tells the counts.
class MessageTally {
public:
    // iMessage (RenderMessage::ToString) and its hint, unless printed already.
    void Print(const RenderMessage& iMessage);
    // "FILE:LINE:COLUMN: note: the same error N more times" for each message
    // that came again since the last call.
    void PrintCounts();

private:
    struct Printed {
        std::string where;  // RenderMessage::Where
        size_t repeats = 0;
    };
    std::vector<Printed> _printed;
    std::unordered_map<std::string, size_t> _printedAt;  // by line printed
};

}  // namespace mtt

#endif
