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
        uint64_t lanes[4] = {kSeed ^ iText.size(), kSeed + 1, kSeed + 2, kSeed + 3};
        const std::size_t whole = iText.size() / 32 * 32;
        Blocks(lanes, iText.data(), whole);
        return Tail(lanes, iText.data() + whole, iText.size() - whole);
    }
    // OfFile's value of a text of iSize bytes read a piece at a time (a
    // file compared without holding it).
    class Reading {
    public:
        explicit Reading(uint64_t iSize) : _lanes{kSeed ^ iSize, kSeed + 1, kSeed + 2, kSeed + 3} {}
        void Add(const char* iBytes, std::size_t iCount)
        {
            while (iCount > 0) {
                if (_held == 0 && iCount >= 32) {
                    const std::size_t whole = iCount / 32 * 32;
                    Blocks(_lanes, iBytes, whole);
                    iBytes += whole;
                    iCount -= whole;
                    continue;
                }
                const std::size_t taken = iCount < 32 - _held ? iCount : 32 - _held;
                std::memcpy(_block + _held, iBytes, taken);
                _held += taken;
                iBytes += taken;
                iCount -= taken;
                if (_held == 32) {
                    Blocks(_lanes, _block, 32);
                    _held = 0;
                }
            }
        }
        uint64_t Value() const { return Tail(_lanes, _block, _held); }

    private:
        uint64_t _lanes[4];
        char _block[32];
        std::size_t _held = 0;  // bytes of _block not yet mixed in
    };
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

    // iCount is a multiple of 32.
    static void Blocks(uint64_t* ioLanes, const char* iBytes, std::size_t iCount)
    {
        for (; iCount >= 32; iBytes += 32, iCount -= 32) {
            for (int lane = 0; lane < 4; ++lane) ioLanes[lane] = Mix(ioLanes[lane] ^ Word(iBytes + 8 * lane));
        }
    }
    // The last iLeft (< 32) bytes.
    static uint64_t Tail(const uint64_t* iLanes, const char* iBytes, std::size_t iLeft)
    {
        uint64_t hash = Mix(iLanes[0] ^ Mix(iLanes[1] ^ Mix(iLanes[2] ^ Mix(iLanes[3]))));
        for (; iLeft >= 8; iBytes += 8, iLeft -= 8) hash = Mix(hash ^ Word(iBytes));
        for (; iLeft > 0; ++iBytes, --iLeft) hash = Mix(hash ^ static_cast<unsigned char>(*iBytes));
        return hash;
    }

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
