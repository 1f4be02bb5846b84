#ifndef DIGEST_H
#define DIGEST_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Short fingerprints of texts, to tell whether a text is the one recorded
// earlier. Not for security: nobody gains by forging them. Their values are
// recorded in files that outlive a run: each function stays as it is.
class Digest {
public:
    // A whole file, 32 bytes a step in four independent lanes: megabytes of
    // text take a fraction of what OfText takes, a byte at a time.
    static uint64_t OfFile(std::string_view iText)
    {
        const char* bytes = iText.data();
        std::size_t left = iText.size();
        uint64_t lanes[4] = {kSeed ^ left, kSeed + 1, kSeed + 2, kSeed + 3};
        for (; left >= 32; bytes += 32, left -= 32) {
            for (int lane = 0; lane < 4; ++lane) lanes[lane] = Mix(lanes[lane] ^ Word(bytes + 8 * lane));
        }
        uint64_t hash = Mix(lanes[0] ^ Mix(lanes[1] ^ Mix(lanes[2] ^ Mix(lanes[3]))));
        for (; left >= 8; bytes += 8, left -= 8) hash = Mix(hash ^ Word(bytes));
        for (; left > 0; ++bytes, --left) hash = Mix(hash ^ static_cast<unsigned char>(*bytes));
        return hash;
    }
    // FNV-1a, a byte at a time.
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

private:
    static constexpr uint64_t kSeed = 0x9E3779B97F4A7C15ull;

    static uint64_t Word(const char* iBytes)
    {
        uint64_t word;
        std::memcpy(&word, iBytes, sizeof word);
        return word;
    }
    static uint64_t Mix(uint64_t iValue)
    {
        iValue *= 0xFF51AFD7ED558CCDull;
        return iValue ^ (iValue >> 32);
    }
};

#endif
