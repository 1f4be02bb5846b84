#include "TextWindow.h"

#include <cstring>
#include <utility>

const std::size_t TextWindow::kChunk = 64 * 1024;

const char* TextWindow::More(const char* iKeep, bool& oMore)
{
    oMore = false;
    if (_file == nullptr || _ended) return iKeep;
    const std::size_t kept = static_cast<std::size_t>(end - iKeep);
    const std::size_t atOffset = static_cast<std::size_t>(at - iKeep);
    if (_capacity == 0 || kept > _capacity / 2) {
        // A token longer than half the buffer: the buffer doubles, so a
        // long one is scanned again a bounded number of times.
        const std::size_t capacity = _capacity == 0 ? (_chunk > 0 ? _chunk : 1) : 2 * _capacity;
        std::unique_ptr<char[]> grown(new char[capacity]);
        if (kept > 0) std::memcpy(grown.get(), iKeep, kept);
        _buffer = std::move(grown);
        _capacity = capacity;
    } else if (kept > 0) {
        std::memmove(_buffer.get(), iKeep, kept);
    }
    at = _buffer.get() + atOffset;
    end = _buffer.get() + kept;
    const std::size_t read = std::fread(_buffer.get() + kept, 1, _capacity - kept, _file);
    end += read;
    if (read == 0) _ended = true;
    oMore = read > 0;
    return _buffer.get();
}

bool TextWindow::Failed() const
{
    return _file != nullptr && std::ferror(_file) != 0;
}
