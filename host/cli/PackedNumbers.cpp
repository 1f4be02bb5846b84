#include "PackedNumbers.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "Gzip.h"

namespace {

const char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void AppendBase64(std::string& ioOut, const unsigned char* iBytes, size_t iSize)
{
    ioOut.reserve(ioOut.size() + (iSize + 2) / 3 * 4);
    size_t at = 0;
    for (; at + 3 <= iSize; at += 3) {
        const uint32_t bits = uint32_t(iBytes[at]) << 16 | uint32_t(iBytes[at + 1]) << 8 | iBytes[at + 2];
        const char group[4] = {kBase64Digits[bits >> 18], kBase64Digits[bits >> 12 & 63], kBase64Digits[bits >> 6 & 63],
                               kBase64Digits[bits & 63]};
        ioOut.append(group, 4);
    }
    if (at < iSize) {
        const uint32_t bits = uint32_t(iBytes[at]) << 16 | (at + 1 < iSize ? uint32_t(iBytes[at + 1]) << 8 : 0);
        ioOut += kBase64Digits[bits >> 18];
        ioOut += kBase64Digits[bits >> 12 & 63];
        ioOut += at + 1 < iSize ? kBase64Digits[bits >> 6 & 63] : '=';
        ioOut += '=';
    }
}

std::string FromBase64(const std::string& iText)
{
    std::string bytes;
    bytes.reserve(iText.size() / 4 * 3);
    uint32_t bits = 0;
    int held = 0;
    for (const char c : iText) {
        const char* digit = c == '=' || c == '\0' ? nullptr : std::strchr(kBase64Digits, c);
        if (digit == nullptr) break;
        bits = bits << 6 | static_cast<uint32_t>(digit - kBase64Digits);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes += static_cast<char>(bits >> held & 0xff);
        }
    }
    return bytes;
}

// iRows numbers kWidth bytes each, little-endian: a width known here is a
// store a number.
template <size_t kWidth>
void Narrow(const int32_t* iNumbers, size_t iRows, unsigned char* oBytes)
{
    for (size_t row = 0; row < iRows; ++row, oBytes += kWidth) {
        const uint32_t bits = static_cast<uint32_t>(iNumbers[row]);
        for (size_t b = 0; b < kWidth; ++b) oBytes[b] = static_cast<unsigned char>(bits >> (8 * b));
    }
}

}  // namespace

PackedNumbers::PackedNumbers(size_t iColumns)
    : _columns(iColumns), _data(iColumns), _staged(new int32_t[std::max<size_t>(iColumns, 1) * kStagedRows])
{
}

void PackedNumbers::Pack() const
{
    const size_t rows = _stagedRows;
    _stagedRows = 0;
    if (rows == 0) return;
    for (size_t c = 0; c < _data.size(); ++c) {
        Column& column = _data[c];
        const int32_t* numbers = _staged.get() + c * kStagedRows;
        int32_t low = 0, high = 0;
        for (size_t row = 0; row < rows; ++row) {
            low = std::min(low, numbers[row]);
            high = std::max(high, numbers[row]);
        }
        const size_t needed = low >= INT8_MIN && high <= INT8_MAX ? 1 : low >= INT16_MIN && high <= INT16_MAX ? 2 : 4;
        const size_t width = std::max(needed, column.width);
        const size_t held = column.size / column.width;
        const size_t room = column.room / column.width;
        if (width != column.width || held + rows > room) {
            Widen(column, width, held + rows > room ? std::max({size_t(16), 2 * room, held + rows}) : room);
        }
        unsigned char* to = column.bytes.get() + column.size;
        switch (width) {
        case 1: Narrow<1>(numbers, rows, to); break;
        case 2: Narrow<2>(numbers, rows, to); break;
        default: Narrow<4>(numbers, rows, to); break;
        }
        column.size += rows * width;
    }
}

void PackedNumbers::Reserve(size_t iRows)
{
    for (Column& column : _data) {
        if (iRows * column.width > column.room) Widen(column, column.width, iRows);
    }
}

void PackedNumbers::Widen(Column& ioColumn, size_t iWidth, size_t iRows)
{
    const size_t rows = ioColumn.size / ioColumn.width;
    std::unique_ptr<unsigned char[]> wider(new unsigned char[iRows * iWidth]);
    for (size_t row = 0; row < rows; ++row) {
        const unsigned char* from = &ioColumn.bytes[row * ioColumn.width];
        unsigned char* to = &wider[row * iWidth];
        // Little-endian: the low bytes stay, the sign fills the rest.
        const unsigned char sign = (from[ioColumn.width - 1] & 0x80) != 0 ? 0xff : 0;
        for (size_t b = 0; b < iWidth; ++b) to[b] = b < ioColumn.width ? from[b] : sign;
    }
    ioColumn.bytes.swap(wider);
    ioColumn.size = rows * iWidth;
    ioColumn.room = iRows * iWidth;
    ioColumn.width = iWidth;
}

void PackedNumbers::AppendTo(std::string& ioOut) const
{
    Pack();
    // The header, then each column from a multiple of 4 bytes, as narrow as
    // its numbers allow.
    std::string header(4 + _data.size(), '\0');
    for (size_t byte = 0; byte < 4; ++byte) header[byte] = static_cast<char>((_rows >> (8 * byte)) & 0xff);
    static const char kZeros[3] = {};
    std::vector<std::string_view> pieces{header};
    size_t written = header.size();
    for (size_t column = 0; column < _data.size(); ++column) {
        header[4 + column] = static_cast<char>(_data[column].width);
        pieces.emplace_back(kZeros, (4 - written % 4) % 4);
        written = (written + 3) / 4 * 4;
        pieces.emplace_back(reinterpret_cast<const char*>(_data[column].bytes.get()), _data[column].size);
        written += _data[column].size;
    }
    const std::string packed = Gzip::Of(pieces);
    ioOut += '"';
    AppendBase64(ioOut, reinterpret_cast<const unsigned char*>(packed.data()), packed.size());
    ioOut += '"';
}

std::vector<int32_t> PackedNumbers::Read(const std::string& iBase64, size_t iColumns)
{
    std::string raw;
    if (!Gzip::Inflate(FromBase64(iBase64), raw) || iColumns == 0 || raw.size() < 4 + iColumns) {
        return std::vector<int32_t>();
    }
    const auto byte = [&raw](size_t iAt) { return static_cast<uint32_t>(static_cast<unsigned char>(raw[iAt])); };
    const size_t rows = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    std::vector<int32_t> numbers(rows * iColumns);
    size_t at = 4 + iColumns;
    for (size_t column = 0; column < iColumns; ++column) {
        const size_t width = byte(4 + column);
        at = (at + 3) / 4 * 4;
        if ((width != 1 && width != 2 && width != 4) || at + rows * width > raw.size()) return std::vector<int32_t>();
        for (size_t row = 0; row < rows; ++row, at += width) {
            uint32_t number = 0;
            for (size_t b = 0; b < width; ++b) number |= byte(at + b) << (8 * b);
            // Sign-extended from its width.
            const uint32_t sign = 1u << (8 * width - 1);
            numbers[row * iColumns + column] = width == 4
                                                   ? static_cast<int32_t>(number)
                                                   : static_cast<int32_t>((number ^ sign)) - static_cast<int32_t>(sign);
        }
    }
    // A table of other columns would not end where this one does.
    if (at != raw.size()) return std::vector<int32_t>();
    return numbers;
}
