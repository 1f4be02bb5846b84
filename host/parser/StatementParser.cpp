#include "StatementParser.h"

#include <algorithm>
#include <cstring>

#include "DirectiveLexer.h"
#include "DirectiveTable.h"
#include "ExpressionParser.h"
#include "IncludePath.h"
#include "LateSyntax.h"
#include "ListOfMTTIExpression.h"
#include "ListOfMTTString.h"
#include "MTTExpVariableType.h"
#include "ParseOptions.h"
#include "ParseSession.h"
#include "PropertyReference.h"
#include "SourceText.h"
#include "TemplateLexer.h"
#include "TemplateLoader.h"
#include "TemplateParser.h"
#include "TemplateSyntaxError.h"
#include "TrackingNodeFactory.h"
#include "WhitespaceControl.h"

namespace {

// The source bytes from iBegin to iEnd without the blanks around them.
MTTString Trimmed(const std::string& iText, size_t iBegin, size_t iEnd)
{
    while (iBegin < iEnd && SourceText::IsSpace(iText[iBegin])) ++iBegin;
    while (iEnd > iBegin && SourceText::IsSpace(iText[iEnd - 1])) --iEnd;
    return MTTString(iText.data() + iBegin, iEnd - iBegin);
}

bool AtSectionName(DirectiveLexer& ioLexer)
{
    return ioLexer.Peek().kind == DirectiveToken::kWord && ioLexer.Peek().text == DirectiveTable::kSectionName &&
           ioLexer.PeekNext().kind == DirectiveToken::kString;
}

bool AtWord(DirectiveLexer& ioLexer, const char* iWord)
{
    return ioLexer.Peek().kind == DirectiveToken::kWord && ioLexer.Peek().text == iWord;
}

// After a path: a clause of foreach, not one more element of the path.
bool AtClause(DirectiveLexer& ioLexer)
{
    const DirectiveToken::Kind next = ioLexer.PeekNext().kind;
    if (AtWord(ioLexer, DirectiveTable::kSeparator)) return next == DirectiveToken::kString;
    return (AtWord(ioLexer, DirectiveTable::kWhere) || AtWord(ioLexer, DirectiveTable::kSort)) &&
           next != DirectiveToken::kEnd && next != DirectiveToken::kSlash;
}

}  // namespace

StatementParser::StatementParser(ParseSession& ioSession, const SourceText& iSource, WhitespaceControl& ioSegments,
                                 uint32_t iFile, bool iImport, int iDepth)
    : _session(ioSession),
      _source(iSource),
      _segments(ioSegments),
      _file(iFile),
      _import(iImport),
      _depth(iDepth),
      _stopLexer(iSource, 0, 0),
      _stopOffset(0)
{
}

StatementParser::~StatementParser() {}

StatementOwner StatementParser::ParseTemplate()
{
    Stop stop = Stop::kEndOfInput;
    return ParseSequence(nullptr, _depth, stop);
}

StatementOwner StatementParser::ParseSequence(const Block* iBlock, int iDepth, Stop& oStop)
{
    const SourceSpan span = _session.factory.Span();
    const size_t first = _pending.size();
    TemplateSegment segment;
    while (_segments.Next(segment)) {
        if (_import && iBlock == nullptr && SkipInImport(segment)) continue;
        StatementOwner statement = ParseSegment(segment, iBlock, iDepth, oStop);
        if (!statement) return Sequence(first, span, iBlock != nullptr);  // end, elif or else
        _pending.push_back(std::move(statement));
    }
    if (iBlock != nullptr) {
        throw TemplateSyntaxError(_source.Size(), "missing '[% end %]' for '" + iBlock->keyword + "' opened at " +
                                                      _source.Where(iBlock->offset));
    }
    oStop = Stop::kEndOfInput;
    return Sequence(first, span, false);
}

StatementOwner StatementParser::Sequence(size_t iFirst, const SourceSpan& iSpan, bool iBlock)
{
    if (iBlock && _pending.size() == iFirst + 1) {
        StatementOwner only = std::move(_pending.back());
        _pending.pop_back();
        return only;
    }
    const SourceSpan current = _session.factory.Span();
    _session.factory.SetSpan(iSpan);
    StatementOwner list(_session.factory.makeStatList());
    _session.factory.SetSpan(current);
    // Append on a list appends and returns the list itself.
    for (size_t i = iFirst; i < _pending.size(); ++i) list.reset(list.release()->Append(_pending[i].release()));
    _pending.resize(iFirst);
    return list;
}

bool StatementParser::SkipInImport(const TemplateSegment& iSegment) const
{
    std::string found;
    switch (iSegment.kind) {
    case TemplateSegment::kComment: return true;
    case TemplateSegment::kStatement: return false;  // checked with its keyword
    case TemplateSegment::kText: {
        const std::string& s = _source.Text();
        if (std::all_of(s.begin() + iSegment.contentBegin, s.begin() + iSegment.contentEnd, SourceText::IsSpace))
            return true;
        found = "text";
        break;
    }
    default: found = "'" + _source.Text().substr(iSegment.offset, iSegment.end - iSegment.offset) + "'"; break;
    }
    size_t at = iSegment.kind == TemplateSegment::kText ? iSegment.contentBegin : iSegment.offset;
    while (iSegment.kind == TemplateSegment::kText && SourceText::IsSpace(_source.Text()[at])) ++at;
    throw TemplateSyntaxError(at, "an imported file holds only function definitions and comments, found " + found +
                                      " (to insert other statements, use 'include')");
}

MTTString StatementParser::TextOf(const TemplateSegment& iSegment) const
{
    const std::string& s = _source.Text();
    const size_t length = iSegment.contentEnd - iSegment.contentBegin;
    if (std::memchr(s.data() + iSegment.contentBegin, '\\', length) == nullptr) {
        return MTTString(s.data() + iSegment.contentBegin, length);
    }
    std::string text;
    TemplateLexer::AppendText(s, iSegment.contentBegin, iSegment.contentEnd, text);
    return MTTString(text.data(), text.size());
}

StatementOwner StatementParser::ParseSegment(const TemplateSegment& iSegment, const Block* iBlock, int iDepth,
                                             Stop& oStop)
{
    SourceSpan span;
    span.file = _file;
    span.begin = iSegment.offset;
    span.end = iSegment.end;
    _session.factory.SetSpan(span);
    switch (iSegment.kind) {
    case TemplateSegment::kText: {
        MTTString text = TextOf(iSegment);
        return StatementOwner(_session.factory.makeStatText(&text));
    }
    case TemplateSegment::kProperty: {
        ExpressionOwner property = _session.builder.Property(
            PropertyReference::Parse(_source.Text().data() + iSegment.contentBegin,
                                     iSegment.contentEnd - iSegment.contentBegin, iSegment.contentBegin));
        return StatementOwner(_session.factory.makeStatExpression(property.release()));
    }
    case TemplateSegment::kOutput: {
        DirectiveLexer lexer(_source, iSegment.contentBegin, iSegment.contentEnd);
        ExpressionOwner value =
            ExpressionParser(_session, lexer, _source).ParseValue("in '[%= %]'", NodeBuilder::Use::kGeneratedCode);
        ExpectEnd(lexer, "after the expression of '[%='");
        return StatementOwner(_session.factory.makeStatExpression(value.release()));
    }
    case TemplateSegment::kComment: {
        MTTString comment = Trimmed(_source.Text(), iSegment.contentBegin, iSegment.contentEnd);
        return StatementOwner(_session.factory.makeStatComment(&comment));
    }
    case TemplateSegment::kStatement:
    default: return ParseDirective(iSegment, iBlock, iDepth, oStop);
    }
}

StatementOwner StatementParser::ParseDirective(const TemplateSegment& iSegment, const Block* iBlock, int iDepth,
                                               Stop& oStop)
{
    DirectiveLexer lexer(_source, iSegment.contentBegin, iSegment.contentEnd);
    const DirectiveToken& first = lexer.Peek();
    if (first.kind != DirectiveToken::kWord) {
        std::string hint = first.kind == DirectiveToken::kProperty || first.kind == DirectiveToken::kString
                               ? " (write a value with '[%= ... %]')"
                               : "";
        throw TemplateSyntaxError(first.offset, "expected a directive, found " + first.Describe() + hint);
    }
    // The tokens stay where they are when the lexer is moved to _stopLexer.
    const std::string& word = lexer.Next().text;
    const size_t at = iSegment.offset;
    const DirectiveTable::Entry* entry = DirectiveTable::Find(word);
    if (_import && iBlock == nullptr && (entry == nullptr || !entry->importable)) {
        throw TemplateSyntaxError(at, "an imported file holds only function definitions and comments, found '" + word +
                                          "' (to insert other statements, use 'include')");
    }
    if (entry != nullptr && entry->handler != nullptr) {
        DirectiveCall call{lexer, word, at, iBlock, iDepth, oStop};
        return (this->*entry->handler)(call);
    }
    const DirectiveToken::Kind second = lexer.Peek().kind;
    if (second == DirectiveToken::kAssign || second == DirectiveToken::kAppend || second == DirectiveToken::kOrAssign) {
        if (!ExpressionParser::IsIdentifier(word) || entry != nullptr) {
            throw TemplateSyntaxError(at, "expected a variable name before '" + lexer.Peek().text + "', found '" +
                                              word + "'");
        }
        return ParseAssignment(lexer, word);
    }
    throw TemplateSyntaxError(at, "unknown directive '" + word + "'");
}

StatementOwner StatementParser::ParseElif(DirectiveCall& ioCall)
{
    return ParseBlockEnd(ioCall, Stop::kElif);
}

StatementOwner StatementParser::ParseElse(DirectiveCall& ioCall)
{
    return ParseBlockEnd(ioCall, Stop::kElse);
}

StatementOwner StatementParser::ParseEnd(DirectiveCall& ioCall)
{
    return ParseBlockEnd(ioCall, Stop::kEnd);
}

StatementOwner StatementParser::ParseBlockEnd(DirectiveCall& ioCall, Stop iStop)
{
    const std::string& word = ioCall.keyword;
    DirectiveLexer& lexer = ioCall.lexer;
    if (ioCall.block == nullptr || (iStop != Stop::kEnd && ioCall.block->keyword != "if")) {
        throw TemplateSyntaxError(ioCall.offset, Misplaced(word, iStop, ioCall.block));
    }
    if (iStop == Stop::kElse && lexer.Peek().kind == DirectiveToken::kWord && lexer.Peek().text == "if") {
        throw TemplateSyntaxError(lexer.Peek().offset, "expected '%]' after 'else', found 'if' (write 'elif')");
    }
    // elif's condition is parsed by the if that waits for it.
    if (iStop != Stop::kElif) ExpectEndAfter(lexer, word);
    ioCall.stop = iStop;
    _stopLexer = std::move(lexer);
    _stopOffset = ioCall.offset;
    return StatementOwner();
}

std::string StatementParser::Misplaced(const std::string& iKeyword, Stop iStop, const Block* iBlock) const
{
    std::string what = iStop == Stop::kEnd ? "'end' without an open block" : "'" + iKeyword + "' without 'if'";
    if (iBlock != nullptr) {
        what += " (the innermost open block is the '" + iBlock->keyword + "' opened at " +
                _source.Where(iBlock->offset) + ")";
    }
    return what;
}

void StatementParser::CheckDepth(int iDepth, size_t iOffset) const
{
    if (iDepth > TemplateParser::kMaxNesting) throw TemplateSyntaxError::TooDeep(iOffset);
}

void StatementParser::ExpectEnd(DirectiveLexer& ioLexer, const char* iWhat)
{
    const DirectiveToken& token = ioLexer.Peek();
    if (token.kind != DirectiveToken::kEnd) {
        // A "(" after a whole value is most often a function call as other
        // template languages write one.
        const char* hint = token.kind == DirectiveToken::kLeftParen
                               ? " (an expression calls no functions: ${@size:LIST} counts a list's elements, "
                                 "${name|upper} transforms a value, [% call NAME() %] calls a template function)"
                               : "";
        throw TemplateSyntaxError(token.offset,
                                  std::string("expected '%]' ") + iWhat + ", found " + token.Describe() + hint);
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
        if (DirectiveTable::IsReserved(token.text)) {
            throw TemplateSyntaxError(token.offset, std::string("expected ") + iWhat + ", found the reserved word '" +
                                                        token.text + "'");
        }
        return ioLexer.Next().text;
    }
    throw TemplateSyntaxError(token.offset, std::string("expected ") + iWhat + ", found " + token.Describe());
}

std::string StatementParser::Where(const SourceSpan& iSpan) const
{
    return _session.map.Where(iSpan);
}

void StatementParser::OpenLate(LateDeclarations::Block iBlock)
{
    if (_session.options.late) _session.declarations.Open(iBlock);
}

void StatementParser::CloseLate()
{
    if (_session.options.late) _session.declarations.Close();
}

StatementOwner StatementParser::ParseIf(DirectiveCall& ioCall)
{
    return ParseIfChain(ioCall.lexer, Block{"if", ioCall.offset}, ioCall.offset, ioCall.depth + 1);
}

StatementOwner StatementParser::ParseIfChain(DirectiveLexer& ioLexer, const Block& iBlock, size_t iOffset, int iDepth)
{
    CheckDepth(iDepth, iOffset);
    const SourceSpan span = _session.factory.Span();
    const char* const keyword = iOffset == iBlock.offset ? "if" : "elif";
    if (ioLexer.Peek().kind == DirectiveToken::kEnd) {
        throw TemplateSyntaxError(ioLexer.Peek().offset, std::string("expected a condition after '") + keyword + "'");
    }
    const bool readsModel = ioLexer.HasAhead(DirectiveToken::kProperty);
    ExpressionOwner condition = ExpressionParser(_session, ioLexer, _source).ParseCondition();
    ExpectEnd(ioLexer, iOffset == iBlock.offset ? "after the condition of 'if'" : "after the condition of 'elif'");

    OpenLate(readsModel ? LateDeclarations::Block::kGeneratedIf : LateDeclarations::Block::kDecidedIf);
    OpenLate(LateDeclarations::Block::kBranch);
    Stop stop = Stop::kEndOfInput;
    StatementOwner thenPart = ParseSequence(&iBlock, iDepth, stop);
    CloseLate();
    StatementOwner elsePart;
    if (stop == Stop::kEnd) {
        elsePart.reset(_session.factory.makeStatList());
    } else if (stop == Stop::kElse) {
        const size_t elseOffset = _stopOffset;
        OpenLate(LateDeclarations::Block::kBranch);
        elsePart = ParseSequence(&iBlock, iDepth, stop);
        CloseLate();
        if (stop != Stop::kEnd) {
            throw TemplateSyntaxError(_stopOffset, std::string(stop == Stop::kElif ? "'elif'" : "a second 'else'") +
                                                       " after the 'else' at " + _source.Where(elseOffset) +
                                                       "; expected '[% end %]' for the 'if' opened at " +
                                                       _source.Where(iBlock.offset));
        }
    } else {
        DirectiveLexer elifLexer = std::move(_stopLexer);
        OpenLate(LateDeclarations::Block::kBranch);
        elsePart = ParseIfChain(elifLexer, iBlock, _stopOffset, iDepth + 1);
        CloseLate();
    }
    CloseLate();
    _session.factory.SetSpan(span);
    return StatementOwner(_session.factory.makeStatIf(condition.release(), thenPart.release(), elsePart.release()));
}

StatementOwner StatementParser::ParseBody(const Block& iBlock, int iDepth)
{
    // elif and else are refused inside any block but an if, so only end
    // can stop this sequence.
    Stop stop = Stop::kEndOfInput;
    return ParseSequence(&iBlock, iDepth, stop);
}

void StatementParser::ParsePathElements(DirectiveLexer& ioLexer, const char* iAfter, bool& oRelative,
                                        std::vector<std::string>& oElements)
{
    const bool relative = !ioLexer.Accept(DirectiveToken::kSlash);
    oRelative = relative;
    for (;;) {
        const DirectiveToken& token = ioLexer.Peek();
        // A clause of foreach, or a section's name, is never an element.
        const bool clause = AtClause(ioLexer) || AtSectionName(ioLexer) || token.kind == DirectiveToken::kQuestion;
        if (token.kind == DirectiveToken::kWord && !clause) {
            PropertyReference::CheckElement(token.text, token.offset);
            oElements.push_back(ioLexer.Next().text);
        } else if (token.kind == DirectiveToken::kString) {
            oElements.push_back(PropertyReference::Quote(ioLexer.Next().text));
        } else {
            if (oElements.empty() && !relative && (token.kind == DirectiveToken::kEnd || clause)) break;  // "/"
            throw TemplateSyntaxError(token.offset, std::string("expected a path such as 'classes', '/classes' or "
                                                                "'a/b' ") +
                                                        iAfter + ", found " + token.Describe());
        }
        if (!ioLexer.Accept(DirectiveToken::kSlash)) break;
    }
}

StatementOwner StatementParser::ParseForeach(DirectiveCall& ioCall)
{
    DirectiveLexer& lexer = ioCall.lexer;
    const int depth = ioCall.depth + 1;
    CheckDepth(depth, ioCall.offset);
    const SourceSpan span = _session.factory.Span();
    bool relative = true;
    std::vector<std::string> path;
    ParsePathElements(lexer, "after 'foreach'", relative, path);
    const bool optional = lexer.Accept(DirectiveToken::kQuestion);
    const std::string selection = ParseSelection(lexer);
    std::string separator;
    const bool separated = AtWord(lexer, DirectiveTable::kSeparator);
    if (separated) {
        lexer.Next();
        if (lexer.Peek().kind != DirectiveToken::kString) {
            throw TemplateSyntaxError(lexer.Peek().offset,
                                      "expected the separator's text in quotes after 'separator', found " +
                                          lexer.Peek().Describe());
        }
        separator = lexer.Next().text;
        ExpectEnd(lexer, "after the separator");
    } else if (lexer.Peek().kind != DirectiveToken::kEnd) {
        ExpectEnd(lexer, selection.empty() && !optional
                             ? "or '?', 'where', 'sort' or 'separator \"TEXT\"' after the path of 'foreach'"
                             : "or 'separator \"TEXT\"' after the clauses of 'foreach'");
    }
    // An optional list is tested before the loop, and the loop is then
    // in a block of the generated code.
    if (optional) OpenLate(LateDeclarations::Block::kGeneratedIf);
    if (optional) OpenLate(LateDeclarations::Block::kBranch);
    OpenLate(LateDeclarations::Block::kLoop);
    StatementOwner body = ParseBody(Block{"foreach", ioCall.offset}, depth);
    CloseLate();
    if (optional) CloseLate();
    if (optional) CloseLate();
    _session.factory.SetSpan(span);
    if (separated) {
        // Between the elements, never after the last: the element knows
        // whether it is the last one, in both evaluation modes.
        ExpressionOwner last = _session.builder.Property(PropertyReference("@last", true, {}));
        ExpressionOwner isTrue = _session.builder.Literal("true", false, NodeBuilder::Use::kGeneratedCode);
        ExpressionOwner condition(_session.factory.makeExpNotEquals(last.release(), isTrue.release()));
        MTTString text(separator.data(), separator.size());
        StatementOwner between(_session.factory.makeStatText(&text));
        StatementOwner nothing(_session.factory.makeStatList());
        StatementOwner test(_session.factory.makeStatIf(condition.release(), between.release(), nothing.release()));
        body.reset(body.release()->Append(test.release()));
    }
    std::vector<std::string> listPath = path;
    if (!selection.empty()) listPath.push_back("*" + selection);
    ExpressionOwner list = _session.builder.Property(PropertyReference(std::string(), relative, std::move(listPath)));
    StatementOwner loop(_session.factory.makeStatForeach(list.release(), body.release()));
    if (!optional) return loop;
    // A missing or null list is an empty one: the loop runs when the list
    // has elements.
    path.push_back("?${.}");
    ExpressionOwner exists = _session.builder.Property(PropertyReference(std::string(), relative, std::move(path)));
    StatementOwner nothing(_session.factory.makeStatList());
    return StatementOwner(_session.factory.makeStatIf(exists.release(), loop.release(), nothing.release()));
}

std::string StatementParser::ParseSelection(DirectiveLexer& ioLexer)
{
    std::string selection;
    if (AtWord(ioLexer, DirectiveTable::kWhere)) {
        ioLexer.Next();
        RequireClauseContent(ioLexer, DirectiveTable::kWhere);
        selection = std::string(DirectiveTable::kWhere) + " " +
                    ExpressionParser(_session, ioLexer, _source).ParseModelCondition(DirectiveTable::kWhere);
    }
    if (AtWord(ioLexer, DirectiveTable::kSort)) {
        ioLexer.Next();
        selection += std::string(selection.empty() ? "" : " ") + DirectiveTable::kSort + " ";
        for (bool first = true;; first = false) {
            RequireClauseContent(ioLexer, DirectiveTable::kSort);
            selection += (first ? "" : ", ") +
                         ExpressionParser(_session, ioLexer, _source).ParseModelValue(DirectiveTable::kSort);
            if (AtWord(ioLexer, DirectiveTable::kDescending)) {
                ioLexer.Next();
                selection += std::string(" ") + DirectiveTable::kDescending;
            }
            if (!ioLexer.Accept(DirectiveToken::kComma)) break;
        }
    }
    return selection;
}

void StatementParser::RequireClauseContent(DirectiveLexer& ioLexer, const char* iClause)
{
    const DirectiveToken& token = ioLexer.Peek();
    const bool keyword = AtWord(ioLexer, DirectiveTable::kSort) || AtWord(ioLexer, DirectiveTable::kSeparator) ||
                         AtWord(ioLexer, DirectiveTable::kDescending);
    if (token.kind == DirectiveToken::kEnd || keyword) {
        throw TemplateSyntaxError(token.offset,
                                  std::string("expected ") +
                                      (std::string(iClause) == DirectiveTable::kWhere ? "a condition" : "a value") +
                                      " after '" + iClause + "', found " + token.Describe());
    }
}

StatementOwner StatementParser::ParseFunction(DirectiveCall& ioCall)
{
    DirectiveLexer& lexer = ioCall.lexer;
    const int depth = ioCall.depth + 1;
    CheckDepth(depth, ioCall.offset);
    const std::string& function = ParseName(lexer, "a function name after 'function'");
    MTTString name(function.data(), function.size());
    std::vector<std::string> names;
    ListOfMTTString parameters;
    ParseList(lexer, "parameter list", [&] {
        const size_t offset = lexer.Peek().offset;
        std::string parameter = ParseName(lexer, "a parameter name");
        if (std::find(names.begin(), names.end(), parameter) != names.end()) {
            throw TemplateSyntaxError(offset, "parameter '" + parameter + "' appears twice");
        }
        names.push_back(parameter);
        parameters.Append(MTTString(parameter.data(), parameter.size()));
    });
    const SourceSpan span = _session.factory.Span();
    OpenLate(LateDeclarations::Block::kFunction);
    // Inside the body the parameters have values only while generating.
    std::vector<std::string> shadowed;
    for (const std::string& parameter : names) {
        if (_session.generating.insert(parameter).second) shadowed.push_back(parameter);
    }
    StatementOwner body = ParseBody(Block{"function", ioCall.offset}, depth);
    for (const std::string& parameter : shadowed) _session.generating.erase(parameter);
    if (_session.options.late) _session.declarations.CloseFunction(function);
    _session.factory.SetSpan(span);
    return StatementOwner(_session.factory.makeStatFunctionDecl(&name, parameters, body.release()));
}

void StatementParser::ParseList(DirectiveLexer& ioLexer, const char* iList, const std::function<void()>& iItem)
{
    if (!ioLexer.Accept(DirectiveToken::kLeftParen)) {
        throw TemplateSyntaxError(ioLexer.Peek().offset,
                                  "expected '(' after the function name, found " + ioLexer.Peek().Describe());
    }
    if (!ioLexer.Accept(DirectiveToken::kRightParen)) {
        for (;;) {
            iItem();
            if (ioLexer.Accept(DirectiveToken::kComma)) continue;
            if (ioLexer.Accept(DirectiveToken::kRightParen)) break;
            throw TemplateSyntaxError(ioLexer.Peek().offset, std::string("expected ',' or ')' in the ") + iList +
                                                                 ", found " + ioLexer.Peek().Describe());
        }
    }
    ExpectEnd(ioLexer, (std::string("after the ") + iList).c_str());
}

StatementOwner StatementParser::ParseCall(DirectiveCall& ioCall)
{
    DirectiveLexer& lexer = ioCall.lexer;
    const std::string& function = ParseName(lexer, "a function name after 'call'");
    MTTString name(function.data(), function.size());
    std::vector<ExpressionOwner> arguments;
    ParseList(lexer, "argument list",
              [&] { arguments.push_back(ExpressionParser(_session, lexer, _source).ParseArgument()); });
    if (_session.options.late) LateCall(function, ioCall.offset);
    ListOfMTTIExpression list;
    for (const ExpressionOwner& argument : arguments) list.Append(argument.get());
    StatementOwner call(_session.factory.makeStatFunctionCall(&name, list));
    // The call owns the arguments now.
    for (ExpressionOwner& argument : arguments) argument.release();
    return call;
}

void StatementParser::LateCall(const std::string& iFunction, size_t iOffset)
{
    const LateDeclarations::Declared* declared = _session.declarations.OfFunction(iFunction);
    if (declared == nullptr) return;
    for (const auto& entry : *declared) {
        if (const LateDeclarations::Declaration* earlier = _session.declarations.Find(entry.first)) {
            throw TemplateSyntaxError(iOffset, "'" + iFunction + "' declares '" + entry.first +
                                                   "', which is already "
                                                   "declared at " +
                                                   Where(earlier->where) +
                                                   " in this block of the "
                                                   "generated code (late evaluation writes a function's body at each "
                                                   "call); declare '" +
                                                   entry.first + "' outside the function");
        }
        LateDeclarations::Declaration declaration = entry.second;
        declaration.where = _session.factory.Span();
        _session.declarations.Declare(entry.first, declaration);
    }
}

StatementOwner StatementParser::ParseInt(DirectiveCall& ioCall)
{
    return ParseDeclaration(ioCall, true);
}

StatementOwner StatementParser::ParseString(DirectiveCall& ioCall)
{
    return ParseDeclaration(ioCall, false);
}

StatementOwner StatementParser::ParseDeclaration(DirectiveCall& ioCall, bool iInteger)
{
    const std::string& variable =
        ParseName(ioCall.lexer, iInteger ? "a variable name after 'int'" : "a variable name after 'string'");
    MTTString name(variable.data(), variable.size());
    ExpectEnd(ioCall.lexer, "after the variable name");
    if (!_session.options.late || !LateRedeclares(variable, iInteger, ioCall.offset)) {
        return StatementOwner(_session.factory.makeStatDeclare(&name, iInteger ? MTTVarInteger : MTTVarString));
    }
    // The generated code resets its variable; the generator resets its own.
    const std::string reset = iInteger ? _session.options.lateSyntax->ResetInteger(variable)
                                       : _session.options.lateSyntax->ResetString(variable);
    MTTString resetText(reset.data(), reset.size());
    StatementOwner list(_session.factory.makeStatList());
    list.reset(list.release()->Append(_session.factory.makeStatText(&resetText)));
    MTTString initial(iInteger ? "0" : "");
    ExpressionOwner value(_session.factory.makeExpString(&initial, true));
    list.reset(list.release()->Append(_session.factory.makeStatAssign(&name, value.release())));
    return list;
}

bool StatementParser::LateRedeclares(const std::string& iName, bool iInteger, size_t iOffset)
{
    const int type = iInteger ? MTTVarInteger : MTTVarString;
    const LateDeclarations::Declaration* earlier = _session.declarations.Find(iName);
    if (earlier == nullptr) {
        LateDeclarations::Declaration declaration;
        declaration.type = type;
        declaration.where = _session.factory.Span();
        _session.declarations.Declare(iName, declaration);
        return false;
    }
    if (!earlier->certain) {
        throw TemplateSyntaxError(iOffset, "'" + iName + "' is declared at " + Where(earlier->where) +
                                               " inside an 'if' decided while generating, so the generated code "
                                               "may or may not declare it before this point; declare it once, "
                                               "before that 'if'");
    }
    if (earlier->type != type) {
        throw TemplateSyntaxError(iOffset, "'" + iName + "' is declared as '" +
                                               (earlier->type == MTTVarInteger ? "int" : "string") + "' at " +
                                               Where(earlier->where) +
                                               "; a declaration in the same block of the "
                                               "generated code cannot change its type");
    }
    return true;
}

StatementOwner StatementParser::ParseUsercode(DirectiveCall& ioCall)
{
    // The owner is named "UserCode": immediate evaluation only walks its
    // path, and late evaluation then reads the owner's user code.
    DirectiveLexer& lexer = ioCall.lexer;
    std::vector<std::string> path;
    bool relative = true;
    if (lexer.Peek().kind != DirectiveToken::kEnd && !AtSectionName(lexer)) {
        ParsePathElements(lexer, "after 'usercode'", relative, path);
    }
    // 'as "NAME"' names the section, so that one owner can have several.
    std::string name;
    const bool named = AtSectionName(lexer);
    if (named) {
        lexer.Next();
        const size_t offset = lexer.Peek().offset;
        name = lexer.Next().text;
        const bool digitsOnly = name.find_first_not_of("0123456789") == std::string::npos;
        const bool control =
            std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
        if (digitsOnly || control) {
            throw TemplateSyntaxError(offset,
                                      "a user-code section name needs a letter and no control "
                                      "character, found \"" +
                                          name + "\"");
        }
    }
    ExpressionOwner owner = _session.builder.Property(PropertyReference("UserCode", relative, std::move(path)));
    ExpectEnd(lexer, named ? "after the section name" : "or 'as \"NAME\"' after the path of 'usercode'");
    MTTIStatement* statement = _session.factory.makeStatUsercode(owner.release());
    if (named) _session.factory.NameUserCode(statement, std::move(name));
    return StatementOwner(statement);
}

StatementOwner StatementParser::ParseSpecial(DirectiveCall& ioCall)
{
    DirectiveLexer& lexer = ioCall.lexer;
    if (lexer.Peek().kind != DirectiveToken::kWord) {
        throw TemplateSyntaxError(lexer.Peek().offset,
                                  "expected a text name such as SPC or NL after 'special', found " +
                                      lexer.Peek().Describe());
    }
    return SpecialText(lexer, lexer.Next().text);
}

StatementOwner StatementParser::ParseSpecialName(DirectiveCall& ioCall)
{
    return SpecialText(ioCall.lexer, ioCall.keyword);
}

StatementOwner StatementParser::SpecialText(DirectiveLexer& ioLexer, const std::string& iName)
{
    ExpectEndAfter(ioLexer, iName);
    MTTString text(iName.data(), iName.size());
    return StatementOwner(_session.factory.makeStatSpecialText(&text));
}

StatementOwner StatementParser::ParseBeginStatement(DirectiveCall& ioCall)
{
    ExpectEndAfter(ioCall.lexer, ioCall.keyword);
    return StatementOwner(_session.factory.makeStatBeginStatement());
}

StatementOwner StatementParser::ParseEndStatement(DirectiveCall& ioCall)
{
    ExpectEndAfter(ioCall.lexer, ioCall.keyword);
    return StatementOwner(_session.factory.makeStatEndStatement());
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
    // "|=" is written into the generated code; "=" and "+=" act while generating,
    // which late evaluation cannot show where the generated code decides.
    if (_session.options.late && op.kind != DirectiveToken::kOrAssign) {
        const LateDeclarations::Declaration* declared = _session.declarations.Find(iName);
        if (declared != nullptr) {
            throw TemplateSyntaxError(op.offset, "'" + op.text + "' has no late form for '" + iName +
                                                     "', a variable of the generated code: it would change the "
                                                     "variable only while generating; write the assignment as code");
        }
        _session.generating.insert(iName);
        if (_session.declarations.InGeneratedBlock()) {
            throw TemplateSyntaxError(op.offset, "'" + op.text +
                                                     "' has no late form inside a loop or an if that "
                                                     "reads the model: it acts once while generating, not each time "
                                                     "the generated code runs");
        }
    }
    ExpressionOwner value = ExpressionParser(_session, ioLexer, _source)
                                .ParseValue(role, op.kind == DirectiveToken::kOrAssign ? NodeBuilder::Use::kOrAssign
                                                                                       : NodeBuilder::Use::kGenerating);
    ExpectEnd(ioLexer, "after the value");
    MTTString name(iName.data(), iName.size());
    MTTIExpression* operand = value.release();
    switch (op.kind) {
    case DirectiveToken::kAppend: return StatementOwner(_session.factory.makeStatAppend(&name, operand));
    case DirectiveToken::kOrAssign: return StatementOwner(_session.factory.makeStatOrEquals(&name, operand));
    default: return StatementOwner(_session.factory.makeStatAssign(&name, operand));
    }
}

StatementOwner StatementParser::ParseInclude(DirectiveCall& ioCall)
{
    return ParseFile(ioCall, false);
}

StatementOwner StatementParser::ParseImport(DirectiveCall& ioCall)
{
    return ParseFile(ioCall, true);
}

StatementOwner StatementParser::ParseFile(DirectiveCall& ioCall, bool iImport)
{
    DirectiveLexer& lexer = ioCall.lexer;
    const DirectiveToken& token = lexer.Peek();
    if (token.kind != DirectiveToken::kString || token.text.empty()) {
        throw TemplateSyntaxError(token.offset, "expected a file name in quotes after '" + ioCall.keyword +
                                                    "', found " + token.Describe());
    }
    const std::string name = lexer.Next().text;
    ExpectEnd(lexer, "after the file name");
    const int depth = ioCall.depth + 1;
    CheckDepth(depth, ioCall.offset);
    std::string path;
    std::string text;
    LoadFile(name, ioCall.offset, path, text);

    const SourceSpan span = _session.factory.Span();
    const uint32_t file = _session.map.AddFile(path, std::move(text), &span);
    const SourceText source(_session.map.FileAt(file).text);
    _session.including.push_back(path);
    StatementOwner statements;
    try {
        if (_session.map.Full()) throw TemplateSyntaxError(0, "templates larger than 4 GiB together");
        TemplateLexer segmentLexer(source);
        WhitespaceControl segments(segmentLexer, source.Text());
        statements = StatementParser(_session, source, segments, file, iImport, depth).ParseTemplate();
    } catch (TemplateSyntaxError& error) {
        error.SetFileIfUnset(file);
        throw;
    }
    _session.including.pop_back();
    _session.factory.SetSpan(span);
    return statements;
}

void StatementParser::LoadFile(const std::string& iName, size_t iOffset, std::string& oPath, std::string& oText) const
{
    const std::vector<std::string>& including = _session.including;
    std::vector<std::string> candidates{IncludePath::Join(IncludePath::Folder(including.back()), iName)};
    if (iName[0] != '/') {
        for (const std::string& folder : _session.options.includeDirs) {
            candidates.push_back(IncludePath::Join(folder, iName));
        }
    }
    for (const std::string& candidate : candidates) {
        auto open = std::find(including.begin(), including.end(), candidate);
        if (open != including.end()) {
            std::string cycle;
            for (auto file = open; file != including.end(); ++file) cycle += *file + " -> ";
            throw TemplateSyntaxError(iOffset, "'" + iName + "' is already being included (include cycle: " + cycle +
                                                   candidate + ")");
        }
        std::string failure;
        switch (_session.loader.Load(candidate, oText, failure)) {
        case TemplateLoader::Result::kLoaded: oPath = candidate; return;
        case TemplateLoader::Result::kFailed:
            throw TemplateSyntaxError(iOffset, "cannot read '" + candidate + "': " + failure);
        case TemplateLoader::Result::kMissing: break;
        }
    }
    std::string looked;
    for (const std::string& candidate : candidates) looked += (looked.empty() ? "" : ", ") + candidate;
    throw TemplateSyntaxError(iOffset, "cannot find '" + iName + "' (looked for " + looked + ")");
}
