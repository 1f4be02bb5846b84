#include "TemplateParser.h"

#include <vector>

#include "SourceText.h"
#include "StatementParser.h"
#include "TemplateLexer.h"
#include "TemplateSyntaxError.h"
#include "TrackingNodeFactory.h"
#include "WhitespaceControl.h"

TemplateParser::TemplateParser(std::string iFileName) : _fileName(std::move(iFileName)), _map(new SourceMap()) {}

MTTIStatement* TemplateParser::Parse(std::string iSource)
{
    _errors.clear();
    _map.reset(new SourceMap());
    const uint32_t file = _map->AddFile(_fileName, std::move(iSource));
    SourceText source(_fileName, _map->FileAt(file).text);
    try {
        if (source.Size() >= UINT32_MAX) throw TemplateSyntaxError(0, "template larger than 4 GiB");
        std::vector<TemplateSegment> segments = WhitespaceControl::Apply(TemplateLexer(source).Split());
        TrackingNodeFactory factory(*_map);
        SourceSpan whole;
        whole.file = file;
        whole.end = static_cast<uint32_t>(source.Size());
        factory.SetSpan(whole);
        StatementParser parser(factory, source, segments, file);
        factory.setTree(parser.ParseTemplate().release());
        _map->Seal();
        return factory.getTree();
    } catch (const TemplateSyntaxError& error) {
        _errors = source.Message(error.Offset(), error.What());
        _map.reset(new SourceMap());
        return nullptr;
    }
}

const std::string& TemplateParser::Errors() const
{
    return _errors;
}

std::unique_ptr<SourceMap> TemplateParser::TakeSourceMap()
{
    std::unique_ptr<SourceMap> map(std::move(_map));
    _map.reset(new SourceMap());
    return map;
}
