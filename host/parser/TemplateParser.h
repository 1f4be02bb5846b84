#ifndef TEMPLATEPARSER_H
#define TEMPLATEPARSER_H

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "ParseOptions.h"
#include "SourceMap.h"
#include "TemplateError.h"

class MTTIStatement;
class TemplateSyntaxError;

// Parses a template into a syntax tree built through MTTNodeFactory.
// The phases, streamed one segment at a time: TemplateLexer (text, "${...}"
// and directives), then WhitespaceControl (standalone lines, trim markers),
// then StatementParser with ExpressionParser and DirectiveLexer for the
// directives' contents; included files go through the same phases.
class TemplateParser {
public:
    // The one limit of nested blocks, parentheses, expression height and includes.
    static constexpr int kMaxNesting = 100;

    // iFileName: the name used in messages ("-" -> "<stdin>"), whose folder
    // is where included files are looked for first.
    explicit TemplateParser(std::string iFileName, ParseOptions iOptions = ParseOptions());

    // The root statement (the caller owns and deletes it) or null. On null, Errors() holds one or
    // more lines "FILE:LINE:COLUMN: error: <what was expected>\n" (then, for an error inside an
    // included file, one "FILE:LINE:COLUMN: note: included from here\n" per include, innermost
    // first) and ErrorValues() the same as values; no partial tree is left behind.
    MTTIStatement* Parse(std::string iSource);
    // Reads the file named at construction through the options' loader, then parses it.
    MTTIStatement* ParseFile();
    const std::string& Errors() const;
    const std::vector<TemplateError>& ErrorValues() const;

    // Where each node of the last tree came from (the templates' texts included). Valid until the
    // next Parse; TakeSourceMap hands it over. Unless ParseOptions::recordPositions, the nodes are
    // found on the map's first question, which needs the tree still alive.
    const SourceMap& Map() const { return *_map; }
    std::unique_ptr<SourceMap> TakeSourceMap();
    // Whether the last tree holds a usercode statement.
    bool HasUserCode() const { return _userCode; }
    // The section names of the last tree's named usercode statements.
    std::unordered_map<const MTTIStatement*, std::string> TakeUserCodeNames() { return std::move(_userCodeNames); }

private:
    void Fail(const TemplateSyntaxError& iError);
    TemplateError::Place PlaceOf(const SourceSpan& iSpan) const;

    std::string _fileName;
    ParseOptions _options;
    std::string _errors;
    std::vector<TemplateError> _errorValues;
    std::unique_ptr<SourceMap> _map;
    bool _userCode = false;
    std::unordered_map<const MTTIStatement*, std::string> _userCodeNames;
};

#endif
