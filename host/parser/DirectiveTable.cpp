#include "DirectiveTable.h"

#include <cstring>

using P = StatementParser;

const DirectiveTable::Entry DirectiveTable::kEntries[] = {
    {"if", &P::ParseIf, false},
    {"elif", &P::ParseElif, true},
    {"else", &P::ParseElse, true},
    {"end", &P::ParseEnd, true},
    {"foreach", &P::ParseForeach, false},
    {"function", &P::ParseFunction, true},
    {"call", &P::ParseCall, false},
    {"int", &P::ParseInt, false},
    {"string", &P::ParseString, false},
    {"usercode", &P::ParseUsercode, false},
    {"special", &P::ParseSpecial, false},
    {"SPC", &P::ParseSpecialName, false},
    {"NL", &P::ParseSpecialName, false},
    {"beginstatement", &P::ParseBeginStatement, false},
    {"endstatement", &P::ParseEndStatement, false},
    {"include", &P::ParseInclude, false},
    {"import", &P::ParseImport, true},
    {"defined", nullptr, false},
    {"true", nullptr, false},
    {"false", nullptr, false},
};

const DirectiveTable::Entry* DirectiveTable::Find(const std::string& iWord)
{
    for (const Entry& entry : kEntries) {
        if (std::strcmp(entry.keyword, iWord.c_str()) == 0) return &entry;
    }
    return nullptr;
}
