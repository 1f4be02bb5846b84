#ifndef WHITESPACECONTROL_H
#define WHITESPACECONTROL_H

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
    static std::vector<TemplateSegment> SplitLines(std::vector<TemplateSegment> iSegments);
    static void RemoveStandaloneLines(std::vector<TemplateSegment>& ioPieces);
    static void ApplyTrimMarkers(std::vector<TemplateSegment>& ioPieces);
    static std::vector<TemplateSegment> JoinText(std::vector<TemplateSegment> iPieces);
};

#endif
