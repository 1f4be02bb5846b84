#ifndef MTT_TRANSFORM_TEXTS_H
#define MTT_TRANSFORM_TEXTS_H

// The transforms of mtt_transforms.h that edit a text by their arguments:
// replace, indent and prefix (line by line), truncate (by characters).
// Header-only, C++17, standard library only.

#include <cstddef>
#include <string>
#include <string_view>

namespace mtt_runtime {

class TransformTexts {
public:
    // Every occurrence of iFrom (not empty), from left to right.
    static std::string Replace(std::string_view iText, std::string_view iFrom, std::string_view iTo)
    {
        std::string out;
        std::size_t start = 0;
        for (std::size_t found; (found = iText.find(iFrom, start)) != std::string_view::npos;
             start = found + iFrom.size()) {
            out.append(iText.substr(start, found - start)).append(iTo);
        }
        return out.append(iText.substr(start));
    }

    // iPrefix before every line; an empty line gets it without its trailing
    // blanks and tabs, so that no line ends in blanks. A final line end
    // starts no line.
    static std::string Prefix(std::string_view iText, std::string_view iPrefix)
    {
        std::string_view bare = iPrefix;
        while (!bare.empty() && (bare.back() == ' ' || bare.back() == '\t')) bare.remove_suffix(1);
        std::string out;
        std::size_t start = 0;
        while (start < iText.size()) {
            std::size_t end = iText.find('\n', start);
            end = end == std::string_view::npos ? iText.size() : end + 1;
            const std::string_view line = iText.substr(start, end - start);
            const bool empty = line == "\n" || line == "\r\n";
            out.append(empty ? bare : iPrefix).append(line);
            start = end;
        }
        return out;
    }

    // At most iLength characters (UTF-8 sequences count as one); a text that
    // is cut ends with iMarker, which counts towards iLength.
    static std::string Truncate(std::string_view iText, std::size_t iLength, std::string_view iMarker)
    {
        if (Characters(iText) <= iLength) return std::string(iText);
        const std::size_t marker = Characters(iMarker);
        const std::size_t keep = iLength > marker ? iLength - marker : 0;
        return std::string(iText.substr(0, ByteOffset(iText, keep))).append(iMarker);
    }

private:
    static bool Continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

    static std::size_t Characters(std::string_view iText)
    {
        std::size_t count = 0;
        for (char c : iText) count += Continues(c) ? 0 : 1;
        return count;
    }

    // Where character iIndex starts (the end when there are fewer).
    static std::size_t ByteOffset(std::string_view iText, std::size_t iIndex)
    {
        std::size_t seen = 0;
        for (std::size_t i = 0; i < iText.size(); ++i) {
            if (Continues(iText[i])) continue;
            if (seen++ == iIndex) return i;
        }
        return iText.size();
    }
};

}  // namespace mtt_runtime

#endif
