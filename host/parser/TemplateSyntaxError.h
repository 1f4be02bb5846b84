#ifndef TEMPLATESYNTAXERROR_H
#define TEMPLATESYNTAXERROR_H

#include <cstddef>
#include <string>
#include <utility>

// Thrown inside the parser at the first error and caught by TemplateParser,
// which turns it into a message. Every node built so far is held by an
// owner (std::unique_ptr) on the way, so unwinding releases it.
class TemplateSyntaxError {
public:
    TemplateSyntaxError(size_t iOffset, std::string iWhat) : _offset(iOffset), _what(std::move(iWhat)) {}

    size_t Offset() const { return _offset; }
    const std::string& What() const { return _what; }

private:
    size_t _offset;
    std::string _what;
};

#endif
