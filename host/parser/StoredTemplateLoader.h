#ifndef STOREDTEMPLATELOADER_H
#define STOREDTEMPLATELOADER_H

#include "TemplateLoader.h"

class SourceMap;

// Serves the included files a source map keeps, as they were read by the
// parse that made it: parsing the same template again then reads the same
// texts, whatever has happened to the files since.
class StoredTemplateLoader : public TemplateLoader {
public:
    explicit StoredTemplateLoader(const SourceMap& iMap) : _map(iMap) {}

    Result Load(const std::string& iPath, std::string& oText, std::string& oError) const override;

private:
    const SourceMap& _map;
};

#endif
