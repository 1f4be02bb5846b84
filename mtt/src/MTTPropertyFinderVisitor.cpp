#include "MTTPropertyFinderVisitor.h"

#include "MTTResult.h"

MTTPropertyFinderVisitor::MTTPropertyFinderVisitor(bool* iDecidable) : _decidable(iDecidable) {}

long MTTPropertyFinderVisitor::VisitExpProperty(MTTExpProperty*)
{
    if (_decidable != nullptr) *_decidable = false;
    return S_OK;
}
