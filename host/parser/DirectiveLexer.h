#ifndef DIRECTIVELEXER_H
#define DIRECTIVELEXER_H

#include <vector>

#include "DirectiveToken.h"

class SourceText;

// Third phase: the tokens of one directive's content (the source bytes
// from iBegin to iEnd). Tokenizes everything up front and throws
// TemplateSyntaxError on a character that starts no token, an unknown
// escape in a string or an unclosed "${".
class DirectiveLexer {
public:
    DirectiveLexer(const SourceText& iSource, size_t iBegin, size_t iEnd);

    const DirectiveToken& Peek() const { return _tokens[_next]; }
    // The token after Peek (kEnd at the end).
    const DirectiveToken& PeekNext() const { return _tokens[_next + 1 < _tokens.size() ? _next + 1 : _next]; }
    // Returns the current token and moves on; stays on kEnd.
    const DirectiveToken& Next();
    bool Accept(DirectiveToken::Kind iKind);
    // Whether a token of that kind is still to come.
    bool HasAhead(DirectiveToken::Kind iKind) const;

    // Name characters, as in property names and path elements.
    static bool IsNameChar(char c);

private:
    void Tokenize(size_t iBegin, size_t iEnd);
    size_t ScanString(size_t iQuote, size_t iEnd);
    size_t ScanProperty(size_t iOpen, size_t iEnd);
    void Add(DirectiveToken::Kind iKind, size_t iOffset, size_t iLength);

    const SourceText* _source;  // a pointer so that a lexer can be moved into place
    std::vector<DirectiveToken> _tokens;
    size_t _next;
};

#endif
