#ifndef DIGEST_H
#define DIGEST_H

#include <algorithm>
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
        uint64_t hash = kFnvBasis;
        for (const char c : iText) hash = FnvStep(hash, c);
        return hash;
    }
    static uint32_t OfLine(std::string_view iLine) { return Folded(OfText(iLine)); }
    // OfLine of every line of iText (the lines a "\n" ends, and the rest
    // after the last one if any), in order, into oDigests, which has room
    // for them. Four parts of the text go through the multiplier side by
    // side: one alone waits for each byte's product before the next.
    static void OfEveryLine(std::string_view iText, uint32_t* oDigests)
    {
        struct Part {
            const char* begin;
            const char* at;
            const char* end;
            uint32_t* digests;
            uint64_t hash;
        } parts[4];
        // Cut where a line starts, near each quarter; each part's digests
        // start after its lines before it.
        const char* const begin = iText.data();
        const char* const end = begin + iText.size();
        const char* from = begin;
        uint32_t* digests = oDigests;
        for (int part = 0; part < 4; ++part) {
            const char* to = part == 3 ? end : begin + iText.size() / 4 * static_cast<std::size_t>(part + 1);
            if (to < from) to = from;
            const void* newline = part == 3 ? nullptr : std::memchr(to, '\n', static_cast<std::size_t>(end - to));
            if (part < 3) to = newline != nullptr ? static_cast<const char*>(newline) + 1 : end;
            parts[part] = Part{from, from, to, digests, kFnvBasis};
            digests += std::count(from, to, '\n');
            from = to;
        }
        // The four side by side while all have bytes, then each alone. In
        // locals, which the stores of digests cannot be taken to change.
        std::size_t common = static_cast<std::size_t>(parts[0].end - parts[0].at);
        for (int part = 1; part < 4; ++part) {
            common = std::min(common, static_cast<std::size_t>(parts[part].end - parts[part].at));
        }
        const char* at[4] = {parts[0].at, parts[1].at, parts[2].at, parts[3].at};
        uint32_t* out[4] = {parts[0].digests, parts[1].digests, parts[2].digests, parts[3].digests};
        uint64_t hash[4] = {kFnvBasis, kFnvBasis, kFnvBasis, kFnvBasis};
        for (std::size_t i = 0; i < common; ++i) {
            for (int part = 0; part < 4; ++part) {
                // Without a branch: a line end stores the line's digest and
                // moves on, any other byte stores one overwritten next.
                const char c = at[part][i];
                const bool ends = c == '\n';
                *out[part] = Folded(hash[part]);
                out[part] += ends;
                const uint64_t next = FnvStep(hash[part], c);
                hash[part] = ends ? kFnvBasis : next;
            }
        }
        for (int part = 0; part < 4; ++part) {
            parts[part].at = at[part] + common;
            parts[part].digests = out[part];
            parts[part].hash = hash[part];
        }
        for (Part& part : parts) {
            for (; part.at < part.end; ++part.at) {
                if (*part.at == '\n') {
                    *part.digests++ = Folded(part.hash);
                    part.hash = kFnvBasis;
                } else {
                    part.hash = FnvStep(part.hash, *part.at);
                }
            }
        }
        // A last line without its "\n", in the last part that holds any
        // (a short text can be in the first alone).
        if (!iText.empty() && iText.back() != '\n') {
            const Part* last = &parts[3];
            while (last->begin == last->end) --last;
            *last->digests = Folded(last->hash);
        }
    }

private:
    static constexpr uint64_t kSeed = 0x9E3779B97F4A7C15ull;
    static constexpr uint64_t kFnvBasis = 14695981039346656037ull;

    static uint64_t FnvStep(uint64_t iHash, char iByte)
    {
        return (iHash ^ static_cast<unsigned char>(iByte)) * 1099511628211ull;
    }
    static uint32_t Folded(uint64_t iHash) { return static_cast<uint32_t>(iHash ^ (iHash >> 32)); }

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
