#ifndef SHORTCOPY_H
#define SHORTCOPY_H

#include <cstddef>
#include <cstdint>
#include <cstring>

// Copies iSize bytes; most names and values of a model are a few bytes,
// copied here in words that may overlap, without memcpy's call.
class ShortCopy {
public:
    static void Copy(char* oTo, const char* iFrom, std::size_t iSize)
    {
        if (iSize > 16) {
            std::memcpy(oTo, iFrom, iSize);
        } else if (iSize >= 8) {
            CopyEnds<uint64_t>(oTo, iFrom, iSize);
        } else if (iSize >= 4) {
            CopyEnds<uint32_t>(oTo, iFrom, iSize);
        } else {
            for (std::size_t i = 0; i < iSize; ++i) oTo[i] = iFrom[i];
        }
    }

private:
    // The first and the last word of a text of one to two words.
    template <class Word>
    static void CopyEnds(char* oTo, const char* iFrom, std::size_t iSize)
    {
        Word head, tail;
        std::memcpy(&head, iFrom, sizeof head);
        std::memcpy(&tail, iFrom + iSize - sizeof tail, sizeof tail);
        std::memcpy(oTo, &head, sizeof head);
        std::memcpy(oTo + iSize - sizeof tail, &tail, sizeof tail);
    }
};

#endif
