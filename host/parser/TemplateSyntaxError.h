#ifndef TEMPLATESYNTAXERROR_H
#define TEMPLATESYNTAXERROR_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

// Thrown inside the parser at the first error and caught by TemplateParser,
// which turns it into a message. Every node built so far is held by an
// owner (std::unique_ptr) on the way, so unwinding releases it. The thrower
// only knows the offset; the file is set on the way out of the file's parse.
class TemplateSyntaxError {
public:
    static constexpr uint32_t kNoFile = UINT32_MAX;

    TemplateSyntaxError(size_t iOffset, std::string iWhat) : _offset(iOffset), _what(std::move(iWhat)) {}

    // "nesting deeper than N levels", with the parser's one limit.
    static TemplateSyntaxError TooDeep(size_t iOffset);

    size_t Offset() const { return _offset; }
    const std::string& What() const { return _what; }
    uint32_t File() const { return _file; }
    void SetFileIfUnset(uint32_t iFile)
    {
        if (_file == kNoFile) _file = iFile;
    }

private:
    size_t _offset;
    std::string _what;
    uint32_t _file = kNoFile;
};

#endif
