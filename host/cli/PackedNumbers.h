#ifndef PACKEDNUMBERS_H
#define PACKEDNUMBERS_H

#include <cstdint>
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
    explicit PackedNumbers(size_t iColumns) : _data(iColumns) {}

    // One row: as many numbers as there are columns.
    void Add(std::initializer_list<int64_t> iRow);
    void Reserve(size_t iRows);
    size_t Rows() const { return _rows; }

    // The table as a JSON string.
    void AppendTo(std::string& ioOut) const;
    // The columns of such a text, one after another; empty when it is
    // not one.
    static std::vector<int32_t> Read(const std::string& iBase64, size_t iColumns);

private:
    // A column is kept as it is written, as narrow as its numbers so far:
    // a page's million rows of small differences take a byte or two each
    // rather than four, and go to the compressor without being copied. Its buffer is
    // written through a pointer of its own, 4 bytes at a time, with 3
    // bytes of slack past its room.
    struct Column {
        std::unique_ptr<unsigned char[]> bytes;
        size_t size = 0;
        size_t room = 0;
        size_t width = 1;
    };

    // Rewrites ioColumn's numbers iWidth bytes wide, in room for iRows.
    static void Widen(Column& ioColumn, size_t iWidth, size_t iRows);

    size_t _rows = 0;
    std::vector<Column> _data;
};

#endif
