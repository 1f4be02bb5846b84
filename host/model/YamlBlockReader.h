#ifndef YAMLBLOCKREADER_H
#define YAMLBLOCKREADER_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class JsonTextEvents;
class TextWindow;

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

private:
    // An open mapping or sequence: the column of its keys or dashes.
    struct Frame {
        std::size_t indent;
        bool mapping;
        // A sequence at its key's indent: a line there that is not an entry
        // ends it and goes on with the mapping.
        bool indentless;
    };
    // A line that holds more than blanks and a comment.
    struct Line {
        std::size_t indent;
        const char* content;  // the first byte past the indent
        const char* end;      // where the line break (or the text) begins
    };

    YamlBlockReader(TextWindow& ioWindow, JsonTextEvents& ioEvents);
    bool Run();
    // Whether every byte is one the general parser takes as it is: printable
    // ASCII, LF, CRLF, and UTF-8 sequences of printable characters other
    // than the byte order mark and YAML's other line breaks.
    static bool Printable(const char* iAt, const char* iEnd);
    // The next line with content; false at the end of the text, or when
    // the reader declined (_declined).
    bool NextLine(Line& oLine);
    // The next line whatever it holds, without its line break; the same
    // false.
    bool RawLine(const char*& oBegin, const char*& oEnd);
    // More of the file, the lines still in use kept; every byte handed out
    // is checked by Printable first. False when there is no more.
    bool More();

    // The collection whose first line is iLine, at its indent.
    bool Open(const Line& iLine, bool iIndentless);
    // A sequence entry: the dash at iDash, in column iColumn.
    bool Entry(const char* iDash, const char* iEnd, std::size_t iColumn);
    // A mapping's "key: value" at iAt; iIndent: the mapping's.
    bool Member(const char* iAt, const char* iEnd, std::size_t iIndent);
    // The value after a key or a dash, from iAt to the line's end; nothing
    // there (or a comment) leaves it to the next lines.
    bool ValueAfter(const char* iAt, const char* iEnd, std::size_t iOwnerIndent, bool iOfMember);
    // The key at ioAt, ending at ':' and a blank (or the line's end); false
    // when none is there that this reader takes. ioAt moves past the ':'.
    bool Key(const char*& ioAt, const char* iEnd, std::string_view& oName);
    // The text of a quoted scalar at iAt; ioAt moves past its closing quote.
    bool Quoted(const char*& ioAt, const char* iEnd, std::string_view& oText);
    // A quoted value at iQuote whose closing quote is on a later line, each
    // deeper than iOwnerIndent, folded and reported as the general reader
    // does.
    bool QuotedOverLines(const char* iQuote, const char* iEnd, std::size_t iOwnerIndent);
    // The escape at ioAt (a backslash) written to ioText in UTF-8, ioAt
    // moved past it: \" \\ \/ \n \t \r, a blank, and \x, \u, \U with their
    // digits.
    static bool Unescape(const char*& ioAt, const char* iEnd, std::string& ioText);
    // A plain scalar's text on one line, from iAt to its end (a comment,
    // then oComment, or the line's); false when it holds ": " or ends with
    // ':'. Bytes up to iReadable (past the line) may be read.
    static bool PlainValue(const char* iAt, const char* iEnd, const char* iReadable, std::string_view& oText,
                           bool& oComment);
    // Whether a plain scalar may begin at iAt.
    static bool PlainStart(const char* iAt, const char* iEnd);
    // Whether only blanks and a comment follow.
    static bool RestIsBlank(const char* iAt, const char* iEnd);
    static bool IsEntry(const char* iAt, const char* iEnd);
    // Reports a scalar as its style and text make it.
    bool Scalar(std::string_view iText, bool iPlain);
    bool Close();

    TextWindow& _window;
    JsonTextEvents& _events;
    // Where Printable has checked up to.
    const char* _checked;
    bool _declined = false;
    std::vector<Frame> _frames;
    // Lines NextLine passed over before the one it gave.
    std::size_t _blankLines = 0;
    std::size_t _commentLines = 0;
    // A plain value, open while deeper lines may go on with it: its first
    // line, then the whole text once it has more; the indent of the
    // collection it is in; whether a comment ended it.
    bool _plain = false;
    std::string_view _plainFirst;
    std::string _plainText;
    std::size_t _plainIndent = 0;
    bool _plainEnded = false;
    // The value after a key or a dash when its line has none.
    bool _pending = false;
    std::size_t _pendingIndent = 0;
    bool _pendingOfMember = false;
    // A single-quoted text with its doubled quotes made single.
    std::string _unquoted;
    std::string _number;
    std::string _problem;
};

#endif
