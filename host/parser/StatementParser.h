#ifndef STATEMENTPARSER_H
#define STATEMENTPARSER_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DirectiveLexer.h"
#include "LateDeclarations.h"
#include "NodeOwners.h"
#include "TemplateSegment.h"

class MTTString;
class SourceText;
class WhitespaceControl;
struct ParseSession;

// Last phase: recursive descent over the segments left by whitespace
// control, for one file (an included file gets a parser of its own, in the
// same session). Every sequence of statements (the template, and each body
// of if, elif, else, foreach and function) becomes one statement list made
// with makeStatList and filled with Append, in source order. "elif" puts
// a new If in the else part of the one before; a missing else is an empty
// list. Directives are dispatched through DirectiveTable. Constructs the
// library has no node for are written with its nodes:
//   foreach PATH separator "T"   the body ends with If(${@last} != "true", Text(T), {})
//   foreach PATH where C sort K  Foreach over the path PATH/"*where C sort K", a
//                                view of the list that the model makes
//   foreach PATH?                If(${:PATH/"?${.}"}, Foreach(...), {}): no loop
//                                over a missing, null or empty list
//   include "F"                  the statement list of F, in place
//   import "F"                   the function definitions of F, in place
//   a declaration again (late)   Text(reset of the generated code) and an Assign
// Throws TemplateSyntaxError at the first error.
class StatementParser {
public:
    // iFile: the source's number in the session's source map. iImport: the
    // file of an "import", which may only define functions. iDepth: the
    // nesting level the file starts at.
    StatementParser(ParseSession& ioSession, const SourceText& iSource, WhitespaceControl& ioSegments, uint32_t iFile,
                    bool iImport, int iDepth);
    ~StatementParser();

    StatementOwner ParseTemplate();

private:
    friend class DirectiveTable;

    // What ended a sequence; the directive that did it waits in _stopLexer
    // (after its keyword) and _stopOffset.
    enum class Stop { kEndOfInput, kEnd, kElif, kElse };
    // The innermost open block, for messages.
    struct Block {
        std::string keyword;  // "if", "foreach" or "function"
        size_t offset;        // where its directive starts
    };
    // A directive being parsed, after its keyword.
    struct DirectiveCall {
        DirectiveLexer& lexer;
        const std::string& keyword;
        size_t offset;       // where the directive starts
        const Block* block;  // the innermost open block, or null
        int depth;           // the nesting level of the directive
        Stop& stop;
    };

    StatementOwner ParseSequence(const Block* iBlock, int iDepth, Stop& oStop);
    // The statements parsed since _pending[iFirst] as one statement, taken
    // off _pending. The list is made once they are all known, so that it
    // takes exactly the room it needs, with the span of the directive that
    // opened it; a block of one statement is that statement itself.
    StatementOwner Sequence(size_t iFirst, const SourceSpan& iSpan, bool iBlock);
    StatementOwner ParseSegment(const TemplateSegment& iSegment, const Block* iBlock, int iDepth, Stop& oStop);
    StatementOwner ParseDirective(const TemplateSegment& iSegment, const Block* iBlock, int iDepth, Stop& oStop);
    // An imported file: true for what is left out (blank text, comments);
    // throws for what it may not hold.
    bool SkipInImport(const TemplateSegment& iSegment) const;

    // The directive table's handlers.
    StatementOwner ParseIf(DirectiveCall& ioCall);
    StatementOwner ParseElif(DirectiveCall& ioCall);
    StatementOwner ParseElse(DirectiveCall& ioCall);
    StatementOwner ParseEnd(DirectiveCall& ioCall);
    StatementOwner ParseForeach(DirectiveCall& ioCall);
    StatementOwner ParseFunction(DirectiveCall& ioCall);
    StatementOwner ParseCall(DirectiveCall& ioCall);
    StatementOwner ParseInt(DirectiveCall& ioCall);
    StatementOwner ParseString(DirectiveCall& ioCall);
    StatementOwner ParseUsercode(DirectiveCall& ioCall);
    StatementOwner ParseSpecial(DirectiveCall& ioCall);      // special NAME
    StatementOwner ParseSpecialName(DirectiveCall& ioCall);  // SPC, NL
    StatementOwner ParseBeginStatement(DirectiveCall& ioCall);
    StatementOwner ParseEndStatement(DirectiveCall& ioCall);
    StatementOwner ParseInclude(DirectiveCall& ioCall);
    StatementOwner ParseImport(DirectiveCall& ioCall);

    // Ends the sequence with iStop; the parser of the block goes on.
    StatementOwner ParseBlockEnd(DirectiveCall& ioCall, Stop iStop);
    StatementOwner ParseDeclaration(DirectiveCall& ioCall, bool iInteger);
    StatementOwner SpecialText(DirectiveLexer& ioLexer, const std::string& iName);

    // An If from its condition on; iBlock is the "if" that opened the chain.
    StatementOwner ParseIfChain(DirectiveLexer& ioLexer, const Block& iBlock, size_t iOffset, int iDepth);
    StatementOwner ParseAssignment(DirectiveLexer& ioLexer, const std::string& iName);
    StatementOwner ParseFile(DirectiveCall& ioCall, bool iImport);
    // The loaded text of an included file and its normalised path.
    void LoadFile(const std::string& iName, size_t iOffset, std::string& oPath, std::string& oText) const;
    // The body of a block up to its "[% end %]".
    StatementOwner ParseBody(const Block& iBlock, int iDepth);
    // The "where" and "sort" clauses of foreach, as the model reads them
    // (host/runtime/mtt_selection.h); empty without them.
    std::string ParseSelection(DirectiveLexer& ioLexer);
    void RequireClauseContent(DirectiveLexer& ioLexer, const char* iClause);
    // A bare path (foreach, usercode): words and quoted names between "/".
    void ParsePathElements(DirectiveLexer& ioLexer, const char* iAfter, bool& oRelative,
                           std::vector<std::string>& oElements);
    const std::string& ParseName(DirectiveLexer& ioLexer, const char* iWhat);
    // "(" ITEM, ... ")" and the directive's end, after a function's name
    // (function, call); iList names the list in messages.
    void ParseList(DirectiveLexer& ioLexer, const char* iList, const std::function<void()>& iItem);
    // Late: whether a second declaration of iName (an int with iInteger)
    // resets an earlier one; throws where the generated code cannot tell.
    bool LateRedeclares(const std::string& iName, bool iInteger, size_t iOffset);
    // Late: a call declares what the function's body declares.
    void LateCall(const std::string& iFunction, size_t iOffset);
    void OpenLate(LateDeclarations::Block iBlock);
    void CloseLate();
    MTTString TextOf(const TemplateSegment& iSegment) const;
    // "FILE:LINE:COLUMN" of a recorded span.
    std::string Where(const SourceSpan& iSpan) const;
    // Messages are only composed on failure.
    void ExpectEnd(DirectiveLexer& ioLexer, const char* iWhat);
    void ExpectEndAfter(DirectiveLexer& ioLexer, const std::string& iWord);
    void CheckDepth(int iDepth, size_t iOffset) const;
    std::string Misplaced(const std::string& iKeyword, Stop iStop, const Block* iBlock) const;

    ParseSession& _session;
    const SourceText& _source;
    WhitespaceControl& _segments;
    uint32_t _file;
    bool _import;
    int _depth;
    DirectiveLexer _stopLexer;
    size_t _stopOffset;
    // The statements of the open sequences, innermost last.
    std::vector<StatementOwner> _pending;
};

#endif
