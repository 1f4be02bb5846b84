#ifndef DIGEST_H
#define DIGEST_H

#include <cstdint>
#include <string_view>

// Short fingerprints of texts (FNV-1a), to tell whether a text is the one
// recorded earlier. Not for security: nobody gains by forging them.
class Digest {
public:
    static uint64_t OfText(std::string_view iText)
    {
        uint64_t hash = 14695981039346656037ull;
        for (const char c : iText) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
        return hash;
    }
    static uint32_t OfLine(std::string_view iLine)
    {
        const uint64_t hash = OfText(iLine);
        return static_cast<uint32_t>(hash ^ (hash >> 32));
    }
};

#endif
