#include "MTTIOutputListener.h"

MTTIOutputListener::MTTIOutputListener() {}
MTTIOutputListener::MTTIOutputListener(const MTTIOutputListener&) {}
MTTIOutputListener& MTTIOutputListener::operator=(const MTTIOutputListener&)
{
    return *this;
}
MTTIOutputListener::~MTTIOutputListener() {}
