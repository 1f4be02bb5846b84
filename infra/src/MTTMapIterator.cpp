#include "MTTMapIterator.h"

#include "MTTMap.h"

MTTMapIterator::MTTMapIterator(const MTTMap* iMap) : _map(iMap), _slot(-1) {}

MTTMapIterator::~MTTMapIterator()
{
    _map = nullptr;
}

void MTTMapIterator::Reset()
{
    _slot = -1;
}

int MTTMapIterator::Next()
{
    if (_map == nullptr) return 0;
    long capacity = static_cast<long>(_map->_capacity);
    long slot = _slot;
    while (++slot < capacity) {
        if (MTTMap::IsLive(_map->_slots[slot])) {
            _slot = static_cast<int>(slot);
            return 1;
        }
    }
    _slot = static_cast<int>(capacity);
    return 0;
}

const char* MTTMapIterator::Key() const
{
    if (_map == nullptr || _slot < 0 || static_cast<size_t>(_slot) >= _map->_capacity) return nullptr;
    return _map->_slots[_slot].key;
}

void* MTTMapIterator::Value() const
{
    if (_map == nullptr || _slot < 0 || static_cast<size_t>(_slot) >= _map->_capacity) return nullptr;
    return _map->_slots[_slot].value;
}
