#include "StoredTemplateLoader.h"

#include "SourceMap.h"

TemplateLoader::Result StoredTemplateLoader::Load(const std::string& iPath, std::string& oText, std::string&) const
{
    for (uint32_t file = 0; file < _map.FileCount(); ++file) {
        const SourceMap::File& stored = _map.FileAt(file);
        if (stored.included && stored.name == iPath) {
            oText = stored.text;
            return Result::kLoaded;
        }
    }
    return Result::kMissing;
}
