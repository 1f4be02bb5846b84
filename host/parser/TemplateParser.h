#ifndef TEMPLATEPARSER_H
#define TEMPLATEPARSER_H

#include <memory>
#include <string>

#include "SourceMap.h"

class MTTIStatement;

// Parses a template into a syntax tree built through MTTNodeFactory.
// The phases: TemplateLexer (text, "${...}" and directives), then
// WhitespaceControl (standalone lines, trim markers), then StatementParser
// with ExpressionParser and DirectiveLexer for the directives' contents.
class TemplateParser {
public:
    static constexpr int kMaxNesting = 100;   // documented limit of nested blocks/parentheses

    explicit TemplateParser(std::string iFileName);   // the name used in messages ("-" -> "<stdin>")

    // The root statement (the caller owns and deletes it) or null. On null, Errors() holds one or
    // more lines "FILE:LINE:COLUMN: error: <what was expected>\n"; no partial tree is left behind.
    MTTIStatement* Parse(std::string iSource);
    const std::string& Errors() const;

    // Where each node of the last tree came from (the template's text included). Valid until the
    // next Parse; TakeSourceMap hands it over.
    const SourceMap& Map() const { return *_map; }
    std::unique_ptr<SourceMap> TakeSourceMap();

private:
    std::string _fileName;
    std::string _errors;
    std::unique_ptr<SourceMap> _map;
};

#endif
