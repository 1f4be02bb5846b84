#ifndef TEXTWINDOW_H
#define TEXTWINDOW_H

#include <cstddef>
#include <cstdio>
#include <memory>

// The bytes a one-pass reader reads: a whole text, or the part of a file
// read last, so that a model's text is never held whole beside the model.
// [at, end) is what is left to read; a reader keeps its own pointers into
// the window and moves them by what More says.
class TextWindow {
public:
    // A file is read this much at a time; the buffer grows only for a
    // token (or line) longer than half of it.
    static const std::size_t kChunk;

    TextWindow(const char* iText, std::size_t iSize) : at(iText), end(iText + iSize) {}
    // The rest of an open file, iChunk bytes at first (tests try small
    // ones); nothing is read before the first More.
    explicit TextWindow(std::FILE* iFile, std::size_t iChunk = kChunk) : _file(iFile), _chunk(iChunk) {}

    // Keeps the bytes from iKeep (at most at) to the end, reads more after
    // them, and returns where the kept bytes are now (at and end follow
    // them); oMore is false when there was no more (the text's end, or a
    // failed read, which Failed tells), with nothing lost. A whole text
    // has no more.
    const char* More(const char* iKeep, bool& oMore);
    // Whether a read of the file failed.
    bool Failed() const;

    const char* at = nullptr;
    const char* end = nullptr;

private:
    std::FILE* _file = nullptr;
    std::size_t _chunk = kChunk;
    std::unique_ptr<char[]> _buffer;
    std::size_t _capacity = 0;
    bool _ended = false;
};

#endif
