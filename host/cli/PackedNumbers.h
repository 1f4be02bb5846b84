#ifndef PACKEDNUMBERS_H
#define PACKEDNUMBERS_H

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// A long table of whole numbers for the explain page, small to write and
// quick for the page to read: gzip-compressed (Gzip), in base64, the bytes
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
    explicit PackedNumbers(size_t iColumns);

    // One row: as many numbers as there are columns.
    void Add(std::initializer_list<int64_t> iRow)
    {
        int32_t* at = _staged.get() + _stagedRows;
        const int64_t* numbers = iRow.begin();
        const size_t given = iRow.size() < _columns ? iRow.size() : _columns;
        for (size_t column = 0; column < given; ++column)
            at[column * kStagedRows] = static_cast<int32_t>(numbers[column]);
        for (size_t column = given; column < _columns; ++column) at[column * kStagedRows] = 0;
        ++_rows;
        if (++_stagedRows == kStagedRows) Pack();
    }
    void Reserve(size_t iRows);
    size_t Rows() const { return _rows; }

    // The table as a JSON string.
    void AppendTo(std::string& ioOut) const;
    // The columns of such a text, one after another; empty when it is
    // not one.
    static std::vector<int32_t> Read(const std::string& iBase64, size_t iColumns);

private:
    // A column is kept a byte a number, whatever width it is written at: a
    // page's million rows of small differences take a byte each, and are
    // widened a block at a time on their way to the compressor. A number a
    // byte cannot hold is kept beside, in order; INT32_MIN (what some
    // tables write for none) has a byte of its own.
    struct Column {
        std::vector<int8_t> bytes;
        std::vector<int32_t> wide;  // a kWide byte's number, in order
        int32_t low = 0;
        int32_t high = 0;
    };
    static constexpr int8_t kWide = INT8_MAX;
    static constexpr int8_t kLeast = INT8_MIN;  // INT32_MIN

    // Rows are staged whole, a column after another, and packed a block at
    // a time: a row costs a store a number, and the widths are checked in
    // a loop over each column that the compiler unrolls, rather than per
    // number through the column's fields.
    static constexpr size_t kStagedRows = 2048;

    // Moves the staged rows into the columns (const: the table it stands
    // for is the same).
    void Pack() const;
    // The bytes a number of the column takes in the table: 1, 2 or 4.
    static size_t Width(const Column& iColumn);
    // Writes iCount numbers of iColumn from iFirst, kWidth bytes each
    // (little-endian), to oBytes; ioWide: the first of them kept beside.
    template <size_t kWidth>
    static void Widen(const Column& iColumn, size_t iFirst, size_t iCount, size_t& ioWide, unsigned char* oBytes);

    size_t _rows = 0;
    const size_t _columns;
    mutable std::vector<Column> _data;
    mutable std::unique_ptr<int32_t[]> _staged;  // kStagedRows a column
    mutable size_t _stagedRows = 0;
};

#endif
