#ifndef JSONMODELTEXTS_H
#define JSONMODELTEXTS_H

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class JsonModel;

// The texts and member names of a model being loaded, as its reader meets
// them: a text is put among the model's texts (a short one that repeats,
// such as a kind or a type, only once) and a name gets its number. Apart
// from the structure the builder makes of them, so that a large model's
// reader can do this on its own thread (JsonEventPipe) while the builder
// hears numbers. On cache lines of its own: the reader's thread writes here
// while the builder writes the fields beside it.
class alignas(64) JsonModelTexts {
public:
    explicit JsonModelTexts(JsonModel& ioModel) : _model(ioModel) {}

    // The offset of iText among the model's texts.
    uint32_t Text(std::string_view iText);
    // The depth of the names: an array or object opens or closes.
    void Open() { _keysAt.push_back(0); }
    void Close() { _keysAt.pop_back(); }
    // The number of the name of the next member of the object open last.
    uint32_t Key(std::string_view iName);
    // The number of a name, wherever it is met.
    uint32_t NameNumber(std::string_view iName);
    // Whether the texts came to more than the model can hold.
    bool TooLarge() const { return _tooLarge; }

private:
    JsonModel& _model;
    // For each array or object open, how many of its names were met.
    std::vector<uint32_t> _keysAt;
    // The names of the last object met at each depth: the next one there
    // (the usual list of records) mostly repeats them, told by a comparison
    // per name rather than a look-up.
    std::vector<std::vector<uint32_t>> _lastNames;
    // Short texts met lately, by a hash of their bytes: their bytes as
    // ShortBytes reads them (a text that differs mostly differs there, and
    // is told without reading the model's texts, mostly a cache miss) and
    // 1 + their offset.
    static constexpr std::size_t kSharedText = 16;
    struct Recent {
        uint64_t bytes;
        uint32_t offset;
    };
    Recent _recentTexts[1024] = {};
    bool _tooLarge = false;
};

#endif
