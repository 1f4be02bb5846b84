#ifndef STATEMENTPARSER_H
#define STATEMENTPARSER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DirectiveLexer.h"
#include "NodeOwners.h"
#include "TemplateSegment.h"

class SourceText;
class TrackingNodeFactory;

// Last phase: recursive descent over the segments left by whitespace
// control. Every sequence of statements (the template, and each body of
// if, elif, else, foreach and function) becomes one statement list made
// with makeStatList and filled with Append, in source order. "elif" puts
// a new If in the else part of the one before; a missing else is an empty
// list. Throws TemplateSyntaxError at the first error.
class StatementParser {
public:
    // iFile: the source's number in the factory's source map.
    StatementParser(TrackingNodeFactory& iFactory, const SourceText& iSource,
                    const std::vector<TemplateSegment>& iSegments, uint32_t iFile);
    ~StatementParser();

    StatementOwner ParseTemplate();

private:
    // What ended a sequence; the directive that did it waits in _stopLexer
    // (after its keyword) and _stopOffset.
    enum class Stop { kEndOfInput, kEnd, kElif, kElse };
    // The innermost open block, for messages.
    struct Block {
        std::string keyword;  // "if", "foreach" or "function"
        size_t offset;        // where its directive starts
    };

    StatementOwner ParseSequence(const Block* iBlock, int iDepth, Stop& oStop);
    StatementOwner ParseSegment(const TemplateSegment& iSegment, const Block* iBlock, int iDepth, Stop& oStop);
    StatementOwner ParseDirective(const TemplateSegment& iSegment, const Block* iBlock, int iDepth, Stop& oStop);
    // An If from its condition on; iBlock is the "if" that opened the chain.
    StatementOwner ParseIf(DirectiveLexer& ioLexer, const Block& iBlock, size_t iOffset, int iDepth);
    StatementOwner ParseForeach(DirectiveLexer& ioLexer, size_t iOffset, int iDepth);
    StatementOwner ParseFunction(DirectiveLexer& ioLexer, size_t iOffset, int iDepth);
    StatementOwner ParseCall(DirectiveLexer& ioLexer);
    StatementOwner ParseUsercode(DirectiveLexer& ioLexer);
    StatementOwner ParseAssignment(DirectiveLexer& ioLexer, const std::string& iName);
    // The body of a block up to its "[% end %]".
    StatementOwner ParseBody(const Block& iBlock, int iDepth);
    ExpressionOwner ParsePath(DirectiveLexer& ioLexer, const char* iAfter);
    void ParsePathElements(DirectiveLexer& ioLexer, const char* iAfter, bool& oRelative,
                           std::vector<std::string>& oElements);
    const std::string& ParseName(DirectiveLexer& ioLexer, const char* iWhat);
    // Messages are only composed on failure.
    void ExpectEnd(DirectiveLexer& ioLexer, const char* iWhat);
    void ExpectEndAfter(DirectiveLexer& ioLexer, const std::string& iWord);
    void CheckDepth(int iDepth, size_t iOffset) const;
    std::string Misplaced(const std::string& iKeyword, const Block* iBlock) const;

    TrackingNodeFactory& _factory;
    uint32_t _file;
    const SourceText& _source;
    const std::vector<TemplateSegment>& _segments;
    size_t _next;
    DirectiveLexer _stopLexer;
    size_t _stopOffset;
};

#endif
