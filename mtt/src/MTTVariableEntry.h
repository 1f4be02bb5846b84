#ifndef MTTVARIABLEENTRY_H
#define MTTVARIABLEENTRY_H

#include "MTTExpVariableType.h"
#include "MTTString.h"

// One template variable, owned by the environment's variable table.
class MTTVariableEntry {
public:
    MTTVariableEntry(const MTTString& iValue, MTTExpVariableType iType) : _value(iValue), _type(iType) {}

    MTTString _value;
    MTTExpVariableType _type;
};

#endif
