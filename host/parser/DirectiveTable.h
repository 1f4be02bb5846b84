#ifndef DIRECTIVETABLE_H
#define DIRECTIVETABLE_H

#include <string>

#include "StatementParser.h"

// The directive keywords with the StatementParser function that parses
// each and where it may stand, and the words reserved without being
// directives ("defined", "true", "false"): every reserved word in one
// table. A new directive is one row and one handler.
class DirectiveTable {
public:
    using Handler = StatementOwner (StatementParser::*)(StatementParser::DirectiveCall&);

    struct Entry {
        const char* keyword;
        Handler handler;  // null: reserved, but not a directive
        // May stand at the top of an imported file, which only defines
        // functions (the block ends close those definitions).
        bool importable;
    };

    // The entry of a word, or null.
    static const Entry* Find(const std::string& iWord);
    // A reserved word cannot name a variable, a function or a parameter.
    static bool IsReserved(const std::string& iWord) { return Find(iWord) != nullptr; }

private:
    static const Entry kEntries[];
};

#endif
