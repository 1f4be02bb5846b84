#ifndef MTTMAP_H
#define MTTMAP_H

#include <cstddef>

#include "MTTInfraExport.h"

class MTTMapIterator;

// Hash map from zero-terminated keys to untyped pointers. It keeps its own
// copy of every key and never deletes a value. Open addressing with linear
// probing: a lookup allocates nothing.
class MTTINFRA_EXPORT MTTMap {
public:
    MTTMap();
    virtual ~MTTMap();
    virtual int size() const;
    // Non-zero when the key is present; the value is then stored in *oValue.
    virtual int search(const char* iKey, void** oValue) const;
    // Adds an entry, or replaces the value of an existing key.
    virtual void insert(const char* iKey, void* iValue);
    virtual void remove(const char* iKey);
    virtual void clear();
    // A new iterator that the caller deletes.
    virtual MTTMapIterator* getIterator() const;

private:
    friend class MTTMapIterator;
    struct Slot {
        char* key;  // null: free; kTombstone: removed
        size_t hash;
        void* value;
    };

    MTTMap(const MTTMap&) = delete;
    MTTMap& operator=(const MTTMap&) = delete;

    static size_t Hash(const char* iKey);
    static bool IsLive(const Slot& iSlot);
    long Find(const char* iKey, size_t iHash) const;
    void Rehash(size_t iCapacity);

    Slot* _slots;
    size_t _capacity;  // a power of two, or 0
    size_t _live;
    size_t _used;  // live entries plus tombstones
};

#endif
