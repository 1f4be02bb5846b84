#ifndef WHITESPACECONTROL_H
#define WHITESPACECONTROL_H

#include <cstddef>
#include <vector>

#include "TemplateSegment.h"

// Second phase, on the lexer's segments:
// 1. A line that holds at least one statement or comment directive and
//    otherwise only blanks and tabs disappears with its line end ("\n" or
//    "\r\n"). A line with "[%= %]" or an inline "${...}" always stays.
// 2. Then "[%-" removes all blanks, tabs and line ends before the directive
//    and "-%]" all of them after it, up to the nearest other character or
//    directive.
// Finally adjacent text pieces are joined and empty ones dropped.
class WhitespaceControl {
public:
    static std::vector<TemplateSegment> Apply(std::vector<TemplateSegment> iSegments);

private:
    // A line of a text segment, or a whole delimited segment. Texts are cut
    // and trimmed as byte ranges and only copied once, when joined.
    struct Piece {
        size_t segment;  // index in the lexer's segments
        size_t begin;    // text pieces: the bytes of the segment's text
        size_t end;
    };

    static std::vector<Piece> SplitLines(const std::vector<TemplateSegment>& iSegments);
    static void RemoveStandaloneLines(const std::vector<TemplateSegment>& iSegments, std::vector<Piece>& ioPieces);
    static void ApplyTrimMarkers(const std::vector<TemplateSegment>& iSegments, std::vector<Piece>& ioPieces);
    static std::vector<TemplateSegment> JoinText(std::vector<TemplateSegment>& ioSegments,
                                                 const std::vector<Piece>& iPieces);
};

#endif
