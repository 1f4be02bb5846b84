#include "TemplateSyntaxError.h"

#include "TemplateParser.h"

TemplateSyntaxError TemplateSyntaxError::TooDeep(size_t iOffset)
{
    return TemplateSyntaxError(iOffset,
                               "nesting deeper than " + std::to_string(TemplateParser::kMaxNesting) + " levels");
}
