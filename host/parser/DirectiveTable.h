#ifndef DIRECTIVETABLE_H
#define DIRECTIVETABLE_H

#include <string>

#include "StatementParser.h"

// The directive keywords with the StatementParser function that parses
// each, and the words reserved without being directives ("defined",
// "true", "false"): every reserved word in one table.
class DirectiveTable {
public:
    using Handler = StatementOwner (StatementParser::*)(StatementParser::DirectiveCall&);

    struct Entry {
        const char* keyword;
        Handler handler;  // null: reserved, but not a directive
    };

    // The entry of a word, or null.
    static const Entry* Find(const std::string& iWord);
    // A reserved word cannot name a variable, a function or a parameter.
    static bool IsReserved(const std::string& iWord) { return Find(iWord) != nullptr; }

private:
    static const Entry kEntries[];
};

#endif
