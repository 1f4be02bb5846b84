#include "StatementParser.h"

#include <algorithm>

#include "DirectiveLexer.h"
#include "ExpressionParser.h"
#include "ListOfMTTIExpression.h"
#include "ListOfMTTString.h"
#include "MTTExpVariableType.h"
#include "MTTNodeFactory.h"
#include "PropertyReference.h"
#include "SourceText.h"
#include "TemplateParser.h"
#include "TemplateSyntaxError.h"
#include "TrackingNodeFactory.h"

namespace {

// A directive word against a keyword, without measuring the literal.
template <size_t N>
bool Is(const std::string& iWord, const char (&iKeyword)[N])
{
    return iWord.size() == N - 1 && iWord.compare(0, N - 1, iKeyword, N - 1) == 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The source bytes from iBegin to iEnd without the blanks around them.
MTTString Trimmed(const std::string& iText, size_t iBegin, size_t iEnd)
{
    while (iBegin < iEnd && IsBlank(iText[iBegin])) ++iBegin;
    while (iEnd > iBegin && IsBlank(iText[iEnd - 1])) --iEnd;
    return MTTString(iText.data() + iBegin, iEnd - iBegin);
}

}  // namespace

StatementParser::StatementParser(TrackingNodeFactory& iFactory, const SourceText& iSource,
                                 const std::vector<TemplateSegment>& iSegments, uint32_t iFile)
    : _factory(iFactory), _file(iFile), _source(iSource), _segments(iSegments), _next(0), _stopLexer(iSource, 0, 0), _stopOffset(0)
{
}

StatementParser::~StatementParser() {}

StatementOwner StatementParser::ParseTemplate()
{
    Stop stop = Stop::kEndOfInput;
    return ParseSequence(nullptr, 0, stop);
}

StatementOwner StatementParser::ParseSequence(const Block* iBlock, int iDepth, Stop& oStop)
{
    StatementOwner list(_factory.makeStatList());
    while (_next < _segments.size()) {
        const TemplateSegment& segment = _segments[_next++];
        StatementOwner statement = ParseSegment(segment, iBlock, iDepth, oStop);
        if (!statement) return list;  // end, elif or else
        // Append on a list appends and returns the list itself.
        list.reset(list.release()->Append(statement.release()));
    }
    if (iBlock != nullptr) {
        throw TemplateSyntaxError(_source.Size(), "missing '[% end %]' for '" + iBlock->keyword + "' opened at " +
                                                      _source.Where(iBlock->offset));
    }
    oStop = Stop::kEndOfInput;
    return list;
}

StatementOwner StatementParser::ParseSegment(const TemplateSegment& iSegment, const Block* iBlock, int iDepth,
                                             Stop& oStop)
{
    SourceSpan span;
    span.file = _file;
    span.begin = static_cast<uint32_t>(iSegment.offset);
    span.end = static_cast<uint32_t>(iSegment.end);
    _factory.SetSpan(span);
    switch (iSegment.kind) {
    case TemplateSegment::kText: {
        MTTString text(iSegment.text.data(), iSegment.text.size());
        return StatementOwner(_factory.makeStatText(&text));
    }
    case TemplateSegment::kProperty: {
        ExpressionOwner property = PropertyReference::Parse(_source.Text().data() + iSegment.contentBegin,
                                                            iSegment.contentEnd - iSegment.contentBegin,
                                                            iSegment.contentBegin).Make(_factory);
        return StatementOwner(_factory.makeStatExpression(property.release()));
    }
    case TemplateSegment::kOutput: {
        DirectiveLexer lexer(_source, iSegment.contentBegin, iSegment.contentEnd);
        ExpressionOwner value = ExpressionParser(_factory, lexer, _source).ParseValue("in '[%= %]'");
        ExpectEnd(lexer, "after the expression of '[%='");
        return StatementOwner(_factory.makeStatExpression(value.release()));
    }
    case TemplateSegment::kComment: {
        MTTString comment = Trimmed(_source.Text(), iSegment.contentBegin, iSegment.contentEnd);
        return StatementOwner(_factory.makeStatComment(&comment));
    }
    case TemplateSegment::kStatement:
    default:
        return ParseDirective(iSegment, iBlock, iDepth, oStop);
    }
}

StatementOwner StatementParser::ParseDirective(const TemplateSegment& iSegment, const Block* iBlock, int iDepth,
                                               Stop& oStop)
{
    DirectiveLexer lexer(_source, iSegment.contentBegin, iSegment.contentEnd);
    const DirectiveToken& first = lexer.Peek();
    if (first.kind != DirectiveToken::kWord) {
        std::string hint = first.kind == DirectiveToken::kProperty || first.kind == DirectiveToken::kString
                               ? " (write a value with '[%= ... %]')" : "";
        throw TemplateSyntaxError(first.offset, "expected a directive, found " + first.Describe() + hint);
    }
    // The tokens stay where they are when the lexer is moved to _stopLexer.
    const std::string& word = lexer.Next().text;
    const DirectiveToken::Kind second = lexer.Peek().kind;
    const size_t at = iSegment.offset;

    if (Is(word, "elif") || Is(word, "else") || Is(word, "end")) {
        if (iBlock == nullptr || (!Is(word, "end") && iBlock->keyword != "if")) {
            throw TemplateSyntaxError(at, Misplaced(word, iBlock));
        }
        if (Is(word, "else") && lexer.Peek().kind == DirectiveToken::kWord && lexer.Peek().text == "if") {
            throw TemplateSyntaxError(lexer.Peek().offset, "expected '%]' after 'else', found 'if' (write 'elif')");
        }
        if (!Is(word, "elif")) ExpectEndAfter(lexer, word);
        oStop = Is(word, "end") ? Stop::kEnd : Is(word, "else") ? Stop::kElse : Stop::kElif;
        _stopLexer = std::move(lexer);
        _stopOffset = at;
        return StatementOwner();
    }
    if (Is(word, "if")) return ParseIf(lexer, Block{"if", at}, at, iDepth + 1);
    if (Is(word, "foreach")) return ParseForeach(lexer, at, iDepth + 1);
    if (Is(word, "function")) return ParseFunction(lexer, at, iDepth + 1);
    if (Is(word, "call")) return ParseCall(lexer);
    if (Is(word, "usercode")) return ParseUsercode(lexer);
    if (Is(word, "int") || Is(word, "string")) {
        const std::string& variable =
            ParseName(lexer, Is(word, "int") ? "a variable name after 'int'" : "a variable name after 'string'");
        MTTString name(variable.data(), variable.size());
        ExpectEnd(lexer, "after the variable name");
        return StatementOwner(_factory.makeStatDeclare(&name, Is(word, "int") ? MTTVarInteger : MTTVarString));
    }
    if (Is(word, "special") || Is(word, "SPC") || Is(word, "NL")) {
        const std::string* identifier = &word;
        if (Is(word, "special")) {
            if (lexer.Peek().kind != DirectiveToken::kWord) {
                throw TemplateSyntaxError(lexer.Peek().offset,
                                          "expected a text name such as SPC or NL after 'special', found " +
                                              lexer.Peek().Describe());
            }
            identifier = &lexer.Next().text;
        }
        ExpectEndAfter(lexer, *identifier);
        MTTString text(identifier->data(), identifier->size());
        return StatementOwner(_factory.makeStatSpecialText(&text));
    }
    if (Is(word, "beginstatement") || Is(word, "endstatement")) {
        ExpectEndAfter(lexer, word);
        return StatementOwner(Is(word, "beginstatement") ? _factory.makeStatBeginStatement()
                                                       : _factory.makeStatEndStatement());
    }
    if (second == DirectiveToken::kAssign || second == DirectiveToken::kAppend || second == DirectiveToken::kOrAssign) {
        if (!ExpressionParser::IsIdentifier(word) || ExpressionParser::IsReserved(word)) {
            throw TemplateSyntaxError(at, "expected a variable name before '" + lexer.Peek().text + "', found '" +
                                              word + "'");
        }
        return ParseAssignment(lexer, word);
    }
    throw TemplateSyntaxError(at, "unknown directive '" + word + "'");
}

std::string StatementParser::Misplaced(const std::string& iKeyword, const Block* iBlock) const
{
    std::string what = iKeyword == "end" ? "'end' without an open block" : "'" + iKeyword + "' without 'if'";
    if (iBlock != nullptr) {
        what += " (the innermost open block is the '" + iBlock->keyword + "' opened at " +
                _source.Where(iBlock->offset) + ")";
    }
    return what;
}

void StatementParser::CheckDepth(int iDepth, size_t iOffset) const
{
    if (iDepth > TemplateParser::kMaxNesting) throw TemplateSyntaxError(iOffset, "nesting deeper than 100 levels");
}

void StatementParser::ExpectEnd(DirectiveLexer& ioLexer, const char* iWhat)
{
    const DirectiveToken& token = ioLexer.Peek();
    if (token.kind != DirectiveToken::kEnd) {
        throw TemplateSyntaxError(token.offset, std::string("expected '%]' ") + iWhat + ", found " + token.Describe());
    }
}

void StatementParser::ExpectEndAfter(DirectiveLexer& ioLexer, const std::string& iWord)
{
    if (ioLexer.Peek().kind != DirectiveToken::kEnd) ExpectEnd(ioLexer, ("after '" + iWord + "'").c_str());
}

const std::string& StatementParser::ParseName(DirectiveLexer& ioLexer, const char* iWhat)
{
    const DirectiveToken& token = ioLexer.Peek();
    if (token.kind == DirectiveToken::kWord && ExpressionParser::IsIdentifier(token.text)) {
        if (ExpressionParser::IsReserved(token.text)) {
            throw TemplateSyntaxError(token.offset, std::string("expected ") + iWhat + ", found the reserved word '" +
                                                        token.text + "'");
        }
        return ioLexer.Next().text;
    }
    throw TemplateSyntaxError(token.offset, std::string("expected ") + iWhat + ", found " + token.Describe());
}

StatementOwner StatementParser::ParseIf(DirectiveLexer& ioLexer, const Block& iBlock, size_t iOffset, int iDepth)
{
    CheckDepth(iDepth, iOffset);
    const SourceSpan span = _factory.Span();
    const char* const keyword = iOffset == iBlock.offset ? "if" : "elif";
    if (ioLexer.Peek().kind == DirectiveToken::kEnd) {
        throw TemplateSyntaxError(ioLexer.Peek().offset, std::string("expected a condition after '") + keyword + "'");
    }
    ExpressionOwner condition = ExpressionParser(_factory, ioLexer, _source).ParseCondition();
    ExpectEnd(ioLexer, iOffset == iBlock.offset ? "after the condition of 'if'" : "after the condition of 'elif'");

    Stop stop = Stop::kEndOfInput;
    StatementOwner thenPart = ParseSequence(&iBlock, iDepth, stop);
    StatementOwner elsePart;
    if (stop == Stop::kEnd) {
        elsePart.reset(_factory.makeStatList());
    } else if (stop == Stop::kElse) {
        const size_t elseOffset = _stopOffset;
        elsePart = ParseSequence(&iBlock, iDepth, stop);
        if (stop != Stop::kEnd) {
            throw TemplateSyntaxError(_stopOffset, std::string(stop == Stop::kElif ? "'elif'" : "a second 'else'") +
                                                       " after the 'else' at " + _source.Where(elseOffset) +
                                                       "; expected '[% end %]' for the 'if' opened at " +
                                                       _source.Where(iBlock.offset));
        }
    } else {
        DirectiveLexer elifLexer = std::move(_stopLexer);
        elsePart = ParseIf(elifLexer, iBlock, _stopOffset, iDepth + 1);
    }
    _factory.SetSpan(span);
    return StatementOwner(_factory.makeStatIf(condition.release(), thenPart.release(), elsePart.release()));
}

StatementOwner StatementParser::ParseBody(const Block& iBlock, int iDepth)
{
    // elif and else are refused inside any block but an if, so only end
    // can stop this sequence.
    Stop stop = Stop::kEndOfInput;
    return ParseSequence(&iBlock, iDepth, stop);
}

ExpressionOwner StatementParser::ParsePath(DirectiveLexer& ioLexer, const char* iAfter)
{
    bool relative = true;
    std::vector<std::string> elements;
    ParsePathElements(ioLexer, iAfter, relative, elements);
    return PropertyReference(std::string(), relative, std::move(elements)).Make(_factory);
}

void StatementParser::ParsePathElements(DirectiveLexer& ioLexer, const char* iAfter, bool& oRelative,
                                        std::vector<std::string>& oElements)
{
    const bool relative = !ioLexer.Accept(DirectiveToken::kSlash);
    oRelative = relative;
    std::vector<std::string>& elements = oElements;
    for (;;) {
        const DirectiveToken& token = ioLexer.Peek();
        if (token.kind != DirectiveToken::kWord) {
            if (elements.empty() && !relative && token.kind == DirectiveToken::kEnd) break;  // "/": the root
            throw TemplateSyntaxError(token.offset, std::string("expected a path such as 'classes', '/classes' or "
                                                                "'a/b' ") + iAfter + ", found " + token.Describe());
        }
        elements.push_back(ioLexer.Next().text);
        if (!ioLexer.Accept(DirectiveToken::kSlash)) break;
    }
}

StatementOwner StatementParser::ParseForeach(DirectiveLexer& ioLexer, size_t iOffset, int iDepth)
{
    CheckDepth(iDepth, iOffset);
    const SourceSpan span = _factory.Span();
    ExpressionOwner list = ParsePath(ioLexer, "after 'foreach'");
    ExpectEnd(ioLexer, "after the path of 'foreach'");
    StatementOwner body = ParseBody(Block{"foreach", iOffset}, iDepth);
    _factory.SetSpan(span);
    return StatementOwner(_factory.makeStatForeach(list.release(), body.release()));
}

StatementOwner StatementParser::ParseFunction(DirectiveLexer& ioLexer, size_t iOffset, int iDepth)
{
    CheckDepth(iDepth, iOffset);
    const std::string& function = ParseName(ioLexer, "a function name after 'function'");
    MTTString name(function.data(), function.size());
    if (!ioLexer.Accept(DirectiveToken::kLeftParen)) {
        throw TemplateSyntaxError(ioLexer.Peek().offset,
                                  "expected '(' after the function name, found " + ioLexer.Peek().Describe());
    }
    std::vector<std::string> names;
    ListOfMTTString parameters;
    if (!ioLexer.Accept(DirectiveToken::kRightParen)) {
        for (;;) {
            const size_t offset = ioLexer.Peek().offset;
            std::string parameter = ParseName(ioLexer, "a parameter name");
            if (std::find(names.begin(), names.end(), parameter) != names.end()) {
                throw TemplateSyntaxError(offset, "parameter '" + parameter + "' appears twice");
            }
            names.push_back(parameter);
            parameters.Append(MTTString(parameter.data(), parameter.size()));
            if (ioLexer.Accept(DirectiveToken::kComma)) continue;
            if (ioLexer.Accept(DirectiveToken::kRightParen)) break;
            throw TemplateSyntaxError(ioLexer.Peek().offset, "expected ',' or ')' in the parameter list, found " +
                                                                 ioLexer.Peek().Describe());
        }
    }
    ExpectEnd(ioLexer, "after the parameter list");
    const SourceSpan span = _factory.Span();
    StatementOwner body = ParseBody(Block{"function", iOffset}, iDepth);
    _factory.SetSpan(span);
    return StatementOwner(_factory.makeStatFunctionDecl(&name, parameters, body.release()));
}

StatementOwner StatementParser::ParseCall(DirectiveLexer& ioLexer)
{
    const std::string& function = ParseName(ioLexer, "a function name after 'call'");
    MTTString name(function.data(), function.size());
    if (!ioLexer.Accept(DirectiveToken::kLeftParen)) {
        throw TemplateSyntaxError(ioLexer.Peek().offset,
                                  "expected '(' after the function name, found " + ioLexer.Peek().Describe());
    }
    std::vector<ExpressionOwner> arguments;
    if (!ioLexer.Accept(DirectiveToken::kRightParen)) {
        for (;;) {
            arguments.push_back(ExpressionParser(_factory, ioLexer, _source).ParseCondition());
            if (ioLexer.Accept(DirectiveToken::kComma)) continue;
            if (ioLexer.Accept(DirectiveToken::kRightParen)) break;
            throw TemplateSyntaxError(ioLexer.Peek().offset, "expected ',' or ')' in the argument list, found " +
                                                                 ioLexer.Peek().Describe());
        }
    }
    ExpectEnd(ioLexer, "after the argument list");
    ListOfMTTIExpression list;
    for (const ExpressionOwner& argument : arguments) list.Append(argument.get());
    StatementOwner call(_factory.makeStatFunctionCall(&name, list));
    // The call owns the arguments now.
    for (ExpressionOwner& argument : arguments) argument.release();
    return call;
}

StatementOwner StatementParser::ParseUsercode(DirectiveLexer& ioLexer)
{
    // The owner is named "UserCode": immediate evaluation only walks its
    // path, and late evaluation then reads the owner's user code.
    std::vector<std::string> path;
    bool relative = true;
    if (ioLexer.Peek().kind != DirectiveToken::kEnd) ParsePathElements(ioLexer, "after 'usercode'", relative, path);
    ExpressionOwner owner = PropertyReference("UserCode", relative, std::move(path)).Make(_factory);
    ExpectEnd(ioLexer, "after the path of 'usercode'");
    return StatementOwner(_factory.makeStatUsercode(owner.release()));
}

StatementOwner StatementParser::ParseAssignment(DirectiveLexer& ioLexer, const std::string& iName)
{
    const DirectiveToken& op = ioLexer.Next();
    if (ioLexer.Peek().kind == DirectiveToken::kEnd) {
        throw TemplateSyntaxError(ioLexer.Peek().offset, "expected a value after '" + op.text + "'");
    }
    const char* const role = op.kind == DirectiveToken::kAppend     ? "after '+='"
                             : op.kind == DirectiveToken::kOrAssign ? "after '|='"
                                                                    : "after '='";
    ExpressionOwner value = ExpressionParser(_factory, ioLexer, _source).ParseValue(role);
    ExpectEnd(ioLexer, "after the value");
    MTTString name(iName.data(), iName.size());
    MTTIExpression* operand = value.release();
    switch (op.kind) {
    case DirectiveToken::kAppend: return StatementOwner(_factory.makeStatAppend(&name, operand));
    case DirectiveToken::kOrAssign: return StatementOwner(_factory.makeStatOrEquals(&name, operand));
    default: return StatementOwner(_factory.makeStatAssign(&name, operand));
    }
}
