#ifndef FILETEMPLATELOADER_H
#define FILETEMPLATELOADER_H

#include "TemplateLoader.h"

// Reads template files from the file system. Only regular files are read,
// so that a device or a pipe named by an include cannot block the parse.
class FileTemplateLoader : public TemplateLoader {
public:
    Result Load(const std::string& iPath, std::string& oText, std::string& oError) const override;
};

#endif
