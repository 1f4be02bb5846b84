#ifndef DIRECTIVETOKEN_H
#define DIRECTIVETOKEN_H

#include <cstddef>
#include <string>

// One token of a directive's content.
struct DirectiveToken {
    enum Kind {
        kEnd,       // the end of the directive ("%]")
        kWord,      // name characters: letters, digits, '_', '-', '.', bytes from 0x80
        kString,    // "..."; text holds the resolved characters
        kProperty,  // ${...}; text holds what is between the braces
        kLeftParen,
        kRightParen,
        kComma,
        kSlash,
        kNot,
        kAnd,
        kOr,
        kEqual,
        kNotEqual,
        kLess,
        kLessEqual,
        kGreater,
        kGreaterEqual,
        kAssign,
        kAppend,
        kOrAssign,
        kPlus,
        kStar,
        kPercent,
        kPipe,
        kQuestion,
    };

    Kind kind = kEnd;
    std::string text;
    size_t offset = 0;  // first byte in the source

    // For messages: "'foo'", "'=='", "the end of the directive", ...
    std::string Describe() const;
};

#endif
