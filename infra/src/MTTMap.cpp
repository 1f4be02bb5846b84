#include "MTTMap.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "MTTMapIterator.h"

namespace {

char tombstoneMark;
char* const kTombstone = &tombstoneMark;

char* CopyKey(const char* iKey)
{
    size_t length = std::strlen(iKey);
    char* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy == nullptr) throw std::bad_alloc();
    std::memcpy(copy, iKey, length + 1);
    return copy;
}

}  // namespace

MTTMap::MTTMap() : _slots(nullptr), _capacity(0), _live(0), _used(0) {}

MTTMap::~MTTMap()
{
    clear();
    std::free(_slots);
}

int MTTMap::size() const
{
    return static_cast<int>(_live);
}

size_t MTTMap::Hash(const char* iKey)
{
    // FNV-1a: short identifiers are the common key.
    size_t hash = static_cast<size_t>(1469598103934665603ULL);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(iKey); *p; ++p) {
        hash ^= *p;
        hash *= static_cast<size_t>(1099511628211ULL);
    }
    return hash;
}

bool MTTMap::IsLive(const Slot& iSlot)
{
    return iSlot.key != nullptr && iSlot.key != kTombstone;
}

long MTTMap::Find(const char* iKey, size_t iHash) const
{
    if (_capacity == 0) return -1;
    size_t mask = _capacity - 1;
    for (size_t i = iHash & mask;; i = (i + 1) & mask) {
        const Slot& slot = _slots[i];
        if (slot.key == nullptr) return -1;
        if (slot.key != kTombstone && slot.hash == iHash && std::strcmp(slot.key, iKey) == 0) {
            return static_cast<long>(i);
        }
    }
}

int MTTMap::search(const char* iKey, void** oValue) const
{
    if (iKey == nullptr) return 0;
    long index = Find(iKey, Hash(iKey));
    if (index < 0) return 0;
    if (oValue != nullptr) *oValue = _slots[index].value;
    return 1;
}

void MTTMap::Rehash(size_t iCapacity)
{
    Slot* slots = static_cast<Slot*>(std::calloc(iCapacity, sizeof(Slot)));
    if (slots == nullptr) throw std::bad_alloc();
    size_t mask = iCapacity - 1;
    for (size_t i = 0; i < _capacity; ++i) {
        if (!IsLive(_slots[i])) continue;
        size_t j = _slots[i].hash & mask;
        while (slots[j].key != nullptr) j = (j + 1) & mask;
        slots[j] = _slots[i];
    }
    std::free(_slots);
    _slots = slots;
    _capacity = iCapacity;
    _used = _live;
}

void MTTMap::insert(const char* iKey, void* iValue)
{
    if (iKey == nullptr) return;
    size_t hash = Hash(iKey);
    long index = Find(iKey, hash);
    if (index >= 0) {
        _slots[index].value = iValue;
        return;
    }
    // Keep the table at most half full, tombstones included.
    if (2 * (_used + 1) > _capacity) {
        // Rehashing also drops tombstones; afterwards at most a quarter is live.
        size_t capacity = _capacity == 0 ? 8 : _capacity;
        while (4 * (_live + 1) > capacity) capacity *= 2;
        Rehash(capacity);
    }
    char* key = CopyKey(iKey);
    size_t mask = _capacity - 1;
    size_t i = hash & mask;
    while (IsLive(_slots[i])) i = (i + 1) & mask;
    if (_slots[i].key == nullptr) ++_used;
    _slots[i].key = key;
    _slots[i].hash = hash;
    _slots[i].value = iValue;
    ++_live;
}

void MTTMap::remove(const char* iKey)
{
    if (iKey == nullptr) return;
    long index = Find(iKey, Hash(iKey));
    if (index < 0) return;
    std::free(_slots[index].key);
    _slots[index].key = kTombstone;
    _slots[index].value = nullptr;
    --_live;
}

void MTTMap::clear()
{
    for (size_t i = 0; i < _capacity; ++i) {
        if (IsLive(_slots[i])) std::free(_slots[i].key);
        _slots[i].key = nullptr;
        _slots[i].value = nullptr;
    }
    _live = 0;
    _used = 0;
}

MTTMapIterator* MTTMap::getIterator() const
{
    return new MTTMapIterator(this);
}
