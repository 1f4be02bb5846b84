#ifndef PACKEDNUMBERS_H
#define PACKEDNUMBERS_H

#include <cstdint>
#include <string>
#include <vector>

// A long table of whole numbers for the explain page, small to write and
// quick for the page to read: gzip-compressed (zlib), in base64, the bytes
//   ROWS           32-bit
//   WIDTH...       8-bit, per column: 1, 2 or 4 bytes a number, as little as
//                  the column's numbers need
//   COLUMN...      per column, from a multiple of 4 bytes: its numbers,
//                  signed, little-endian
// The page (explain/data.js) inflates it with the browser's
// DecompressionStream and reads each column as a typed array, parsing
// nothing. Tables repeat small numbers (differences from the row before,
// mostly), which compress well.
class PackedNumbers {
public:
    explicit PackedNumbers(size_t iColumns) : _columns(iColumns), _low(iColumns, 0), _high(iColumns, 0) {}

    // One row: as many numbers as there are columns.
    void Add(std::initializer_list<int64_t> iRow);
    void Reserve(size_t iRows) { _numbers.reserve(iRows * _columns); }
    size_t Rows() const { return _columns == 0 ? 0 : _numbers.size() / _columns; }

    // The table as a JSON string.
    void AppendTo(std::string& ioOut) const;
    // The columns of such a text, one after another; empty when it is
    // not one.
    static std::vector<int32_t> Read(const std::string& iBase64, size_t iColumns);

private:
    size_t _columns;
    std::vector<int32_t> _numbers;  // row by row
    std::vector<int32_t> _low;      // per column, its least and greatest number
    std::vector<int32_t> _high;
};

#endif
