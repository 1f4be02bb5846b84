#ifndef COMMENTSYNTAX_H
#define COMMENTSYNTAX_H

#include <string>
#include <string_view>
#include <vector>

// How user-code marker lines are written in one output language:
//     <open> Begin of User Code <key>[ <close>]
//     <open> End of User Code[ <close>]
// Every syntax the tool knows comes from one table (CommentSyntax.cpp),
// which also says which file names take which syntax. Reading marker
// lines is MarkerLine's job; it knows every syntax of the table.
class CommentSyntax {
public:
    // "//" (the default), "#", "--", "<!--" or "/*"; false for any other.
    static bool FromOpener(const std::string& iOpener, CommentSyntax* oSyntax);
    // From the output file's name or extension; "//" for unknown ones.
    static CommentSyntax ForFile(const std::string& iPath);
    // Every known syntax, the default first.
    static const std::vector<CommentSyntax>& Known();
    // "//, #, --, <!-- or /*", for messages.
    static std::string KnownOpeners();
    // "# for .py .sh ..., -- for ..., // otherwise", for --help.
    static std::string ExtensionSummary();

    CommentSyntax();

    const std::string& Opener() const { return _open; }
    const std::string& Closer() const { return _close; }
    // Its position in Known().
    size_t Index() const;
    // The marker lines, without line end.
    std::string BeginLine(const std::string& iKey) const;
    std::string EndLine() const;
    // The same appended to ioText: a large file has a pair per section.
    void AppendBeginLine(std::string& ioText, const std::string& iKey) const;
    void AppendEndLine(std::string& ioText) const;
    // A comment line of this syntax holding iText.
    std::string CommentLine(const std::string& iText) const;

    bool operator==(const CommentSyntax& iOther) const { return _open == iOther._open; }
    bool operator!=(const CommentSyntax& iOther) const { return !(*this == iOther); }

private:
    CommentSyntax(std::string iOpen, std::string iClose);

    std::string _open;
    std::string _close;  // empty for line comments
};

#endif
