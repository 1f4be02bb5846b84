#ifndef JSONTEXTREADER_H
#define JSONTEXTREADER_H

#include <cstddef>
#include <cstdio>

class JsonEventPipe;
class JsonModelBuilder;
class JsonTextEvents;

// Reads JSON text into a JsonModelBuilder (or JsonTextEvents) in one pass,
// for speed and memory: a file is read in chunks (TextWindow), so that no
// more than a chunk (or the longest string in it) is held beside the model. It refuses
// (false) whatever it cannot read exactly as the reader of
// mtt_json_builder.h reads it: malformed text, a member name given twice, a
// NUL in a string, a byte order mark, numbers beyond a double or 64-bit
// integers, nesting deeper than 1,000, a scalar as the whole document. That
// reader then words the error, or reads the text. What is refused may have
// been partly reported.
class JsonTextReader {
public:
    static bool Read(const char* iText, std::size_t iSize, JsonModelBuilder& ioBuilder);
    static bool Read(const char* iText, std::size_t iSize, JsonTextEvents& ioEvents);
    // The rest of an open file, read iChunk bytes at a time; false also
    // when it cannot be read.
    static bool Read(std::FILE* iFile, JsonModelBuilder& ioBuilder);
    static bool Read(std::FILE* iFile, JsonEventPipe& ioPipe);
    static bool Read(std::FILE* iFile, JsonTextEvents& ioEvents, std::size_t iChunk);
};

#endif
