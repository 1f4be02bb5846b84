#ifndef MARKERLINE_H
#define MARKERLINE_H

#include <cstddef>
#include <string>
#include <string_view>

// What one line of a generated file is to the reader of user-code
// sections. Marker lines are recognised in every comment syntax the tool
// knows (CommentSyntax::Known), whatever syntax the file is written in
// now, with blanks around them and CRLF or LF line ends; also the unkeyed
// "// Begin of User Code" of older files, and their end marker right after
// the user's text on one line. A line that holds the marker words after a
// known opener but is not a marker as written ("//Begin of User Code",
// "// begin of user code /a") is kDamaged: the reader refuses it rather
// than take it for text.
struct MarkerLine {
    enum class Kind { kNone, kBegin, kEnd, kDamaged };

    Kind kind = Kind::kNone;
    size_t syntax = 0;   // index in CommentSyntax::Known()
    std::string key;     // kBegin: the key ("" for an unkeyed marker)
    std::string before;  // kEnd: what precedes the marker on its line

    // iLine without its line end.
    static MarkerLine Read(std::string_view iLine);
    // The same for a line FindWords found the marker words in: a reader of
    // a whole file has looked for them already.
    static MarkerLine ReadHolding(std::string_view iLine);
    // Where the next line that can be a marker, damaged or not, holds the
    // marker words, from iFrom on; npos when no line further on can be one.
    static size_t FindWords(std::string_view iText, size_t iFrom);
};

#endif
