#include "TemplateParser.h"

#include <vector>

#include "MTTNodeFactory.h"
#include "SourceText.h"
#include "StatementParser.h"
#include "TemplateLexer.h"
#include "TemplateSyntaxError.h"
#include "WhitespaceControl.h"

TemplateParser::TemplateParser(std::string iFileName) : _fileName(std::move(iFileName)) {}

MTTIStatement* TemplateParser::Parse(const std::string& iSource)
{
    _errors.clear();
    SourceText source(_fileName, iSource);
    try {
        std::vector<TemplateSegment> segments = WhitespaceControl::Apply(TemplateLexer(source).Split());
        MTTNodeFactory factory;
        StatementParser parser(factory, source, segments);
        factory.setTree(parser.ParseTemplate().release());
        return factory.getTree();
    } catch (const TemplateSyntaxError& error) {
        _errors = source.Message(error.Offset(), error.What());
        return nullptr;
    }
}

const std::string& TemplateParser::Errors() const
{
    return _errors;
}
