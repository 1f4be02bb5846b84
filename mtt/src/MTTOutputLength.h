#ifndef MTTOUTPUTLENGTH_H
#define MTTOUTPUTLENGTH_H

#include <cstddef>
#include <cstdint>

// Text lengths as outputs keep them for toString's reservation: 32 bits,
// saturating, since they are only a hint.
class MTTOutputLength {
public:
    static uint32_t Of(size_t iLength) { return iLength < UINT32_MAX ? static_cast<uint32_t>(iLength) : UINT32_MAX; }
    static uint32_t Sum(uint32_t iA, uint32_t iB)
    {
        uint32_t sum = iA + iB;
        return sum < iA ? UINT32_MAX : sum;
    }
};

#endif
