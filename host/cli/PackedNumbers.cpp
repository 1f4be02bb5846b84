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
        const size_t held = column.bytes.size();
        column.bytes.resize(held + rows);
        int8_t* to = column.bytes.data() + held;
        int32_t low = INT32_MAX, high = INT32_MIN;
        for (size_t row = 0; row < rows; ++row) {
            low = std::min(low, numbers[row]);
            high = std::max(high, numbers[row]);
        }
        column.low = std::min(column.low, low);
        column.high = std::max(column.high, high);
        if (low > kLeast && high < kWide) {
            // A block of small numbers, as most are: a store each.
            for (size_t row = 0; row < rows; ++row) to[row] = static_cast<int8_t>(numbers[row]);
            continue;
        }
        for (size_t row = 0; row < rows; ++row) {
            const int32_t number = numbers[row];
            if (number > kLeast && number < kWide) {
                to[row] = static_cast<int8_t>(number);
            } else if (number == INT32_MIN) {
                to[row] = kLeast;
            } else {
                to[row] = kWide;
                column.wide.push_back(number);
            }
        }
    }
}

void PackedNumbers::Reserve(size_t iRows)
{
    for (Column& column : _data) column.bytes.reserve(iRows);
}

template <size_t kWidth>
void PackedNumbers::Widen(const Column& iColumn, size_t iFirst, size_t iCount, size_t& ioWide, unsigned char* oBytes)
{
    const int8_t* bytes = iColumn.bytes.data() + iFirst;
    for (size_t row = 0; row < iCount; ++row, oBytes += kWidth) {
        const int8_t byte = bytes[row];
        const int32_t number = byte == kWide ? iColumn.wide[ioWide++] : byte == kLeast ? INT32_MIN : byte;
        // Little-endian: a width known here is a store a number.
        const uint32_t bits = static_cast<uint32_t>(number);
        for (size_t b = 0; b < kWidth; ++b) oBytes[b] = static_cast<unsigned char>(bits >> (8 * b));
    }
}

size_t PackedNumbers::Width(const Column& iColumn)
{
    return iColumn.low >= INT8_MIN && iColumn.high <= INT8_MAX     ? 1
           : iColumn.low >= INT16_MIN && iColumn.high <= INT16_MAX ? 2
                                                                   : 4;
}

void PackedNumbers::AppendTo(std::string& ioOut) const
{
    Pack();
    // The header, then each column from a multiple of 4 bytes, as narrow as
    // its numbers allow, made a block at a time as the compressor asks.
    std::string header(4 + _data.size(), '\0');
    for (size_t byte = 0; byte < 4; ++byte) header[byte] = static_cast<char>((_rows >> (8 * byte)) & 0xff);
    size_t size = header.size();
    for (size_t column = 0; column < _data.size(); ++column) {
        const size_t width = Width(_data[column]);
        header[4 + column] = static_cast<char>(width);
        size = (size + 3) / 4 * 4 + _rows * width;
    }
    static const char kZeros[3] = {};
    const size_t kBlockRows = size_t(64) << 10;
    std::string block;
    size_t column = 0, row = 0, wide = 0, written = 0;
    bool headerGiven = false, padded = false;
    const Gzip::NextPiece next = [&]() -> std::string_view {
        if (!headerGiven) {
            headerGiven = true;
            written = header.size();
            return header;
        }
        for (; column < _data.size(); ++column, row = 0, wide = 0, padded = false) {
            if (!padded) {
                padded = true;
                const size_t padding = (4 - written % 4) % 4;
                written += padding;
                if (padding > 0) return std::string_view(kZeros, padding);
            }
            if (row == _rows) continue;
            const Column& from = _data[column];
            const size_t count = std::min(kBlockRows, _rows - row);
            const size_t width = Width(from);
            if (width == 1 && from.wide.empty()) {
                // Its bytes are its numbers as written.
                const char* bytes = reinterpret_cast<const char*>(from.bytes.data()) + row;
                row += count;
                written += count;
                return std::string_view(bytes, count);
            }
            block.resize(count * width);
            unsigned char* to = reinterpret_cast<unsigned char*>(&block[0]);
            switch (width) {
            case 1: Widen<1>(from, row, count, wide, to); break;
            case 2: Widen<2>(from, row, count, wide, to); break;
            default: Widen<4>(from, row, count, wide, to); break;
            }
            row += count;
            written += block.size();
            return block;
        }
        return std::string_view();
    };
    const std::string packed = Gzip::Of(size, next);
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
