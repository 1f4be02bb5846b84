#include "DirectiveTable.h"

#include <cstring>

using P = StatementParser;

const DirectiveTable::Entry DirectiveTable::kEntries[] = {
    {"if", &P::ParseIf},
    {"elif", &P::ParseBlockEnd},
    {"else", &P::ParseBlockEnd},
    {"end", &P::ParseBlockEnd},
    {"foreach", &P::ParseForeach},
    {"function", &P::ParseFunction},
    {"call", &P::ParseCall},
    {"int", &P::ParseDeclaration},
    {"string", &P::ParseDeclaration},
    {"usercode", &P::ParseUsercode},
    {"special", &P::ParseSpecial},
    {"SPC", &P::ParseSpecial},
    {"NL", &P::ParseSpecial},
    {"beginstatement", &P::ParseMarker},
    {"endstatement", &P::ParseMarker},
    {"include", &P::ParseInclude},
    {"import", &P::ParseImport},
    {"defined", nullptr},
    {"true", nullptr},
    {"false", nullptr},
};

const DirectiveTable::Entry* DirectiveTable::Find(const std::string& iWord)
{
    for (const Entry& entry : kEntries) {
        if (std::strcmp(entry.keyword, iWord.c_str()) == 0) return &entry;
    }
    return nullptr;
}
