#ifndef MTTMAPITERATOR_H
#define MTTMAPITERATOR_H

#include "MTTInfraExport.h"

class MTTMap;

// Walks the entries of one MTTMap in no particular order. Call Next once
// before the first entry; it returns non-zero while it stands on an entry.
// The map must not change while an iterator walks it.
class MTTINFRA_EXPORT MTTMapIterator {
public:
    explicit MTTMapIterator(const MTTMap* iMap);
    virtual ~MTTMapIterator();
    virtual void Reset();
    virtual int Next();
    virtual const char* Key() const;  // null when not on an entry
    virtual void* Value() const;      // null when not on an entry

private:
    MTTMapIterator(const MTTMapIterator&) = delete;
    MTTMapIterator& operator=(const MTTMapIterator&) = delete;

    const MTTMap* _map;
    int _slot;  // -1 before the first entry
};

#endif
