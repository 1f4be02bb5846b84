#ifndef JSONTEXTREADER_H
#define JSONTEXTREADER_H

#include <cstddef>

class JsonModelBuilder;
class JsonTextEvents;

// Reads JSON text into a JsonModelBuilder (or JsonTextEvents) with simdjson, for speed. It
// refuses (false) whatever it cannot read exactly as the reader of
// mtt_json_builder.h reads it: malformed text, a member name given twice, a
// NUL in a string, and what only that reader takes (nesting deeper than
// 1,000, integers beyond 64 bits, a scalar as the whole document). That
// reader then words the error, or reads the text.
class JsonTextReader {
public:
    // iText holds iSize bytes of JSON and is readable up to iCapacity, at
    // least kPadding bytes more (simdjson reads ahead in blocks).
    static bool Read(const char* iText, std::size_t iSize, std::size_t iCapacity, JsonModelBuilder& ioBuilder);
    // The same checks, reported to another reader; what is refused may
    // have been partly reported.
    static bool Read(const char* iText, std::size_t iSize, std::size_t iCapacity, JsonTextEvents& ioEvents);

    // Bytes a text needs after its end.
    static const std::size_t kPadding;
};

#endif
