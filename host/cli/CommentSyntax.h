#ifndef COMMENTSYNTAX_H
#define COMMENTSYNTAX_H

#include <string>
#include <string_view>

// How user-code marker lines are written in one output language, and how
// they are read back. The writer writes
//     <open> Begin of User Code <key>[ <close>]
//     <open> End of User Code[ <close>]
// and the reader accepts exactly that, with blanks around it and CRLF or LF
// line ends, plus the unkeyed "// Begin of User Code" markers of older
// files (and the end marker right after the user's text on one line, as
// those files could hold it).
class CommentSyntax {
public:
    // What a line is for the reader.
    enum class Marker { kNone, kBegin, kEnd };

    // "//" (the default), "#", "--", "<!--" or "/*"; false for any other.
    static bool FromOpener(const std::string& iOpener, CommentSyntax* oSyntax);
    // From the output file's extension; "//" for unknown ones.
    static CommentSyntax ForFile(const std::string& iPath);

    CommentSyntax();

    const std::string& Opener() const { return _open; }
    // The marker lines, without line end.
    std::string BeginLine(const std::string& iKey) const;
    std::string EndLine() const;

    // Classifies one line (without its line end). For kBegin, oKey is the
    // key ("" when unkeyed); for kEnd, oBefore holds what precedes an end
    // marker on the same line (empty for a whole marker line).
    Marker Read(std::string_view iLine, std::string& oKey, std::string& oBefore) const;

private:
    CommentSyntax(std::string iOpen, std::string iClose);

    std::string _open;
    std::string _close;  // empty for line comments
};

#endif
