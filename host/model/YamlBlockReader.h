#ifndef YAMLBLOCKREADER_H
#define YAMLBLOCKREADER_H

#include <cstddef>
#include <cstdio>
#include <string_view>

class JsonEventPipe;
class JsonTextEvents;

// Reads the YAML that models are mostly written in, and that YAML writers
// emit, in one pass without the general parser: mappings and sequences in
// block style indented by spaces (a sequence may stand at its key's indent),
// plain and quoted scalars, over several lines too (as writers fold long
// ones; double-quoted with the escapes YAML writers use for what they
// quote), comments, a "---" first line, LF or CRLF line ends.
//
// It takes nothing it is unsure of. Anchors, aliases, tags, flow
// collections, block scalars, quoted keys over several lines, a quoted
// value's line no deeper than its key or dash, other escapes, tabs,
// directives, complex and merge keys, a key given twice, and
// every malformed text make it decline; the caller then reads the text with
// YamlReader, which reports the same values for every text this reader
// takes, and words the errors.
class YamlBlockReader {
public:
    // True when the whole text was read and reported to ioEvents; false when
    // it declined, having maybe reported part of it (to be dropped).
    static bool Read(std::string_view iText, JsonTextEvents& ioEvents);
    // The same for the rest of an open file, read iChunk bytes at a time
    // (TextWindow); false also when it cannot be read.
    static bool Read(std::FILE* iFile, JsonTextEvents& ioEvents, std::size_t iChunk);
    // The same into the pipe of a model loaded on two cores, its calls
    // direct.
    static bool Read(std::FILE* iFile, JsonEventPipe& ioPipe, std::size_t iChunk);
};

#endif
