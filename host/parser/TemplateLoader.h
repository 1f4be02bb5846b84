#ifndef TEMPLATELOADER_H
#define TEMPLATELOADER_H

#include <string>

// Where "include" and "import" get the text of a template file. The parser
// works out the candidate paths (the including file's folder, then the
// search directories) and asks for each in turn; hosts and tests can serve
// texts from memory instead of the file system.
class TemplateLoader {
public:
    enum class Result {
        kLoaded,   // oText holds the file's text
        kMissing,  // no such file: the parser tries the next candidate
        kFailed,   // the file exists but cannot be used: oError says why
    };

    virtual ~TemplateLoader() = default;

    virtual Result Load(const std::string& iPath, std::string& oText, std::string& oError) const = 0;
};

#endif
