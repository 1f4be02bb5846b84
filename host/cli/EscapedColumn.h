#ifndef ESCAPEDCOLUMN_H
#define ESCAPEDCOLUMN_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

// A column of numbers of which nearly all are small, kept a Narrow each
// (a byte, two): the few that are not are kept beside, found by their
// place. A model's million nodes mostly end a few nodes on, and their
// scalars are short; four bytes each held three times as much.
template <class Narrow>
class EscapedColumn {
public:
    void Reserve(size_t iSize) { _narrow.reserve(iSize); }
    size_t Size() const { return _narrow.size(); }

    void PushBack(uint32_t iNumber)
    {
        _narrow.push_back(kEscape);
        Set(_narrow.size() - 1, iNumber);
    }
    // Once a place: a number past what Narrow holds is looked up only
    // after Sort.
    void Set(size_t iAt, uint32_t iNumber)
    {
        if (iNumber < kEscape) {
            _narrow[iAt] = static_cast<Narrow>(iNumber);
            return;
        }
        _narrow[iAt] = kEscape;
        _sorted = _sorted && (_escaped.empty() || _escaped.back().first < iAt);
        _escaped.emplace_back(static_cast<uint32_t>(iAt), iNumber);
    }
    // Puts the numbers set out of order in order of their places.
    void Sort()
    {
        if (!_sorted) std::sort(_escaped.begin(), _escaped.end());
        _sorted = true;
    }

    uint32_t operator[](size_t iAt) const
    {
        const Narrow narrow = _narrow[iAt];
        if (narrow != kEscape) return narrow;
        const auto found =
            std::lower_bound(_escaped.begin(), _escaped.end(), std::make_pair(static_cast<uint32_t>(iAt), uint32_t(0)));
        return found != _escaped.end() && found->first == iAt ? found->second : 0;
    }

private:
    static constexpr Narrow kEscape = std::numeric_limits<Narrow>::max();

    std::vector<Narrow> _narrow;
    std::vector<std::pair<uint32_t, uint32_t>> _escaped;  // place, number
    bool _sorted = true;
};

#endif
