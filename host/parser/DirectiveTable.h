#ifndef DIRECTIVETABLE_H
#define DIRECTIVETABLE_H

#include <string>

#include "StatementParser.h"

// The directive keywords with the StatementParser function that parses
// each and where it may stand, the words reserved without being directives
// ("defined", "true", "false"), and the words of clauses: every keyword in
// one place. A new directive is one row and one handler.
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

    // Words that are keywords only where a directive's clause may start,
    // after a path, and are reserved nowhere: [% foreach fields? where COND
    // sort KEY desc separator "T" %], [% usercode as "NAME" %].
    static constexpr const char* kWhere = "where";
    static constexpr const char* kSort = "sort";
    static constexpr const char* kDescending = "desc";
    static constexpr const char* kSeparator = "separator";
    static constexpr const char* kSectionName = "as";

    // The entry of a word, or null.
    static const Entry* Find(const std::string& iWord);
    // A reserved word cannot name a variable, a function or a parameter.
    static bool IsReserved(const std::string& iWord) { return Find(iWord) != nullptr; }

private:
    static const Entry kEntries[];
};

#endif
