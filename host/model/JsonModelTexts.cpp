#include "JsonModelTexts.h"

#include <cstring>
#include <limits>

#include "JsonModel.h"
#include "JsonModelObject.h"

namespace {

// Up to 8 bytes of a short text as a number, read in whole words: bytes
// copied one by one into a word and read back at once stall the processor.
uint64_t ShortBytes(std::string_view iText)
{
    const char* bytes = iText.data();
    const std::size_t size = iText.size();
    if (size >= 8) {
        uint64_t word;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }
    if (size >= 4) {
        uint32_t first;
        uint32_t last;
        std::memcpy(&first, bytes, sizeof first);
        std::memcpy(&last, bytes + size - 4, sizeof last);
        return uint64_t(first) << 32 | last;
    }
    if (size == 0) return 0;
    const auto byte = [&](std::size_t iAt) { return uint64_t(static_cast<unsigned char>(bytes[iAt])); };
    return byte(0) << 16 | byte(size / 2) << 8 | byte(size - 1);
}

}  // namespace

// Short texts that repeat (kinds, types, flags) are kept once: a text is
// compared with the last one of its hash.
uint32_t JsonModelTexts::Text(std::string_view iText)
{
    Recent* recent = nullptr;
    uint64_t bytes = 0;
    if (iText.size() <= kSharedText) {
        bytes = ShortBytes(iText) ^ iText.size();
        recent = &_recentTexts[(bytes * 0x9E3779B97F4A7C15ull) >> 54];
        if (recent->offset != 0 && recent->bytes == bytes &&
            JsonModel::SameText(_model.TextFrom(recent->offset - 1), iText)) {
            return recent->offset - 1;
        }
    }
    if (_model._texts.size() + iText.size() + 5 >= std::numeric_limits<uint32_t>::max()) {
        _tooLarge = true;
        return 0;
    }
    const uint32_t offset = _model.AddText(iText);
    if (recent != nullptr) *recent = Recent{bytes, offset + 1};
    return offset;
}

uint32_t JsonModelTexts::Key(std::string_view iName)
{
    const std::size_t depth = _keysAt.size() - 1;
    const uint32_t at = _keysAt.back()++;
    if (_lastNames.size() <= depth) _lastNames.resize(depth + 1);
    std::vector<uint32_t>& last = _lastNames[depth];
    if (at < last.size()) {
        if (JsonModel::SameText(_model.Name(last[at]), iName)) return last[at];
        return last[at] = NameNumber(iName);
    }
    return last.emplace_back(NameNumber(iName));
}

uint32_t JsonModelTexts::NameNumber(std::string_view iName)
{
    auto found = _model._nameNumbers.find(iName);
    if (found != _model._nameNumbers.end()) return found->second;
    const uint32_t number = static_cast<uint32_t>(_model._names.size());
    _model._names.emplace_back(iName);
    _model._nameTexts.push_back(_model._names.back());
    _model._nameNumbers.emplace(_model._names.back(), number);
    _model._plainNames.push_back(JsonModelObject::PlainName(iName) ? 1 : 0);
    return number;
}
