#include "PropertyReference.h"

#include "DirectiveLexer.h"
#include "ListOfMTTString.h"
#include "MTTNodeFactory.h"
#include "TemplateSyntaxError.h"

PropertyReference::PropertyReference(std::string iName, bool iRelative, std::vector<std::string> iPath)
    : _name(std::move(iName)), _relative(iRelative), _path(std::move(iPath))
{
}

PropertyReference PropertyReference::Parse(const char* iContent, size_t iLength, size_t iOffset)
{
    const size_t n = iLength;
    size_t p = 0;
    auto name = [&]() {
        size_t start = p;
        while (p < n && DirectiveLexer::IsNameChar(iContent[p])) ++p;
        return std::string(iContent + start, p - start);
    };
    auto unexpected = [&](const char* iExpected) {
        std::string found = p < n ? "'" + std::string(1, iContent[p]) + "'" : std::string("'}'");
        return TemplateSyntaxError(iOffset + p, std::string("expected ") + iExpected + " in the property, found " + found);
    };

    PropertyReference result;
    result._name = name();
    if (p == n) {
        if (result._name.empty()) throw unexpected("a name");
        return result;
    }
    if (iContent[p] != ':') throw unexpected(result._name.empty() ? "a name" : "':' or '}'");
    ++p;
    if (p < n && iContent[p] == '/') {
        result._relative = false;
        ++p;
        if (p == n) return result;  // "${name:/}": a value of the root
    } else if (p == n) {
        throw unexpected("a path after ':'");
    }
    for (;;) {
        std::string element = name();
        if (element.empty()) throw unexpected("a path element");
        result._path.push_back(std::move(element));
        if (p == n) return result;
        if (iContent[p] != '/') throw unexpected("'/' or '}'");
        ++p;
    }
}

ExpressionOwner PropertyReference::Make(MTTNodeFactory& iFactory) const
{
    ListOfMTTString path;
    for (const std::string& element : _path) path.Append(MTTString(element.data(), element.size()));
    MTTString name(_name.data(), _name.size());
    return ExpressionOwner(iFactory.makeExpProperty(path, _relative, name));
}
