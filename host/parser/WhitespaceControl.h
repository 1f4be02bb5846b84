#ifndef WHITESPACECONTROL_H
#define WHITESPACECONTROL_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "TemplateSegment.h"

class TemplateLexer;

// Second phase, between the lexer and the statement parser, one line at a
// time:
// 1. A line that holds at least one statement or comment directive and
//    otherwise only blanks and tabs loses the blanks and tabs before its
//    first directive and after its last one, and its line end ("\n" or
//    "\r\n"); blanks between two directives stay. A function defined on one
//    line ("[% function f() %]...[% end %]") counts as one directive, its
//    body kept as written. A line with "[%= %]" or an inline "${...}"
//    outside such a function always stays.
// 2. Then "[%-" removes all blanks, tabs and line ends before the directive
//    and "-%]" all of them after it, up to the nearest other character or
//    directive.
// The text kept between two marks comes out as one text segment. Only the
// current line and the text since the last mark are held.
class WhitespaceControl {
public:
    WhitespaceControl(TemplateLexer& ioLexer, const std::string& iSource);

    // The next segment for the statement parser; false at the end.
    bool Next(TemplateSegment& oSegment);

private:
    bool ReadLine();
    void ProcessLine();
    // The keyword a statement directive starts with.
    std::string_view FirstWord(const TemplateSegment& iPiece) const;
    // Which pieces of the line belong to a function defined on the line.
    void MarkFunctions();
    void FlushText();

    TemplateLexer& _lexer;
    const std::string& _source;
    std::vector<TemplateSegment> _line;  // the pieces of the current line
    std::vector<bool> _inFunction;       // for each piece: in a function defined on the line
    TemplateSegment _rest;               // a text segment's part after the line end
    bool _haveRest = false;
    TemplateSegment _text;  // kept text since the last mark
    bool _haveText = false;
    bool _trimForward = false;  // a "-%]" still removes leading whitespace
    bool _done = false;
    std::vector<TemplateSegment> _ready;
    size_t _nextReady = 0;
};

#endif
