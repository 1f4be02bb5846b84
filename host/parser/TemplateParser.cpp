#include "TemplateParser.h"

#include <algorithm>

#include "FileTemplateLoader.h"
#include "IncludePath.h"
#include "ParseSession.h"
#include "PositionLocator.h"
#include "SourceText.h"
#include "StatementParser.h"
#include "TemplateLexer.h"
#include "TemplateSyntaxError.h"
#include "TrackingNodeFactory.h"
#include "WhitespaceControl.h"

TemplateParser::TemplateParser(std::string iFileName, ParseOptions iOptions)
    : _fileName(std::move(iFileName)), _options(std::move(iOptions)), _map(new SourceMap())
{
}

MTTIStatement* TemplateParser::Parse(std::string iSource)
{
    _errors.clear();
    _errorValues.clear();
    _map.reset(new SourceMap());
    const uint32_t file = _map->AddFile(_fileName, std::move(iSource));
    SourceText source(_map->FileAt(file).text);
    const FileTemplateLoader files;
    try {
        if (_options.late && _options.lateSyntax == nullptr) {
            throw TemplateSyntaxError(0,
                                      "parsing for late evaluation needs the generated language's syntax "
                                      "(ParseOptions::lateSyntax)");
        }
        if (_map->Full()) throw TemplateSyntaxError(0, "template larger than 4 GiB");
        TemplateLexer lexer(source);
        WhitespaceControl segments(lexer, source.Text());
        const bool record = _options.recordPositions || _options.late;
        TrackingNodeFactory factory(*_map, record);
        SourceSpan whole;
        whole.file = file;
        whole.end = static_cast<uint32_t>(source.Size());
        factory.SetSpan(whole);
        ParseSession session(factory, *_map, _options, _options.loader != nullptr ? *_options.loader : files);
        session.including.push_back(_fileName == "-" ? std::string() : IncludePath::Normalise(_fileName));
        StatementParser parser(session, source, segments, file, false, 0);
        factory.setTree(parser.ParseTemplate().release());
        _map->Seal();
        if (!record) _map->LocateLater(PositionLocator(factory.getTree(), _fileName, _options));
        _userCode = factory.MadeUserCode();
        _userCodeNames = factory.TakeUserCodeNames();
        return factory.getTree();
    } catch (const TemplateSyntaxError& error) {
        Fail(error);
        return nullptr;
    }
}

MTTIStatement* TemplateParser::ParseFile()
{
    const FileTemplateLoader files;
    const TemplateLoader& loader = _options.loader != nullptr ? *_options.loader : files;
    std::string text;
    std::string failure;
    switch (loader.Load(_fileName, text, failure)) {
    case TemplateLoader::Result::kLoaded: return Parse(std::move(text));
    case TemplateLoader::Result::kMissing: failure = "no such file"; break;
    case TemplateLoader::Result::kFailed: break;
    }
    _map.reset(new SourceMap());
    TemplateError error;
    error.where.file = _fileName == "-" ? "<stdin>" : _fileName;
    error.message = "cannot read the template: " + failure;
    _errorValues.assign(1, error);
    _errors = error.ToString();
    return nullptr;
}

TemplateError::Place TemplateParser::PlaceOf(const SourceSpan& iSpan) const
{
    SourceSpan span = iSpan;
    const size_t size = _map->FileAt(span.file).text.size();
    if (span.begin > size) span.begin = static_cast<uint32_t>(size);
    TemplateError::Place place;
    place.file = _map->DisplayName(span.file);
    _map->LineColumn(span, place.line, place.column);
    return place;
}

void TemplateParser::Fail(const TemplateSyntaxError& iError)
{
    SourceSpan span;
    span.file = iError.File() == TemplateSyntaxError::kNoFile ? 0 : iError.File();
    span.begin = static_cast<uint32_t>(std::min<size_t>(iError.Offset(), UINT32_MAX));
    TemplateError error;
    error.where = PlaceOf(span);
    error.message = iError.What();
    for (uint32_t file = span.file; _map->FileAt(file).included; file = _map->FileAt(file).includedFrom.file) {
        error.includedFrom.push_back(PlaceOf(_map->FileAt(file).includedFrom));
    }
    _errors = error.ToString();
    _errorValues.assign(1, error);
    _map.reset(new SourceMap());
}

const std::string& TemplateParser::Errors() const
{
    return _errors;
}

const std::vector<TemplateError>& TemplateParser::ErrorValues() const
{
    return _errorValues;
}

std::unique_ptr<SourceMap> TemplateParser::TakeSourceMap()
{
    std::unique_ptr<SourceMap> map(std::move(_map));
    _map.reset(new SourceMap());
    return map;
}
