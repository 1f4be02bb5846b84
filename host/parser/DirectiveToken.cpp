#include "DirectiveToken.h"

std::string DirectiveToken::Describe() const
{
    switch (kind) {
    case kEnd: return "'%]'";
    case kString: return "the string \"" + text + "\"";
    case kProperty: return "'${" + text + "}'";
    default: return "'" + text + "'";
    }
}
