#ifndef PROPERTYREFERENCE_H
#define PROPERTYREFERENCE_H

#include <cstddef>
#include <string>
#include <vector>

#include "NodeOwners.h"

class MTTNodeFactory;

// The parts of a property "${name:path}": the value's name, and the path of
// elements from the current object (relative) or from the root (a leading
// "/"). "${name}" has an empty relative path.
class PropertyReference {
public:
    PropertyReference() = default;
    PropertyReference(std::string iName, bool iRelative, std::vector<std::string> iPath);

    // Reads the iLength bytes between "${" and "}", which start at iOffset
    // in the source. Throws TemplateSyntaxError.
    static PropertyReference Parse(const char* iContent, size_t iLength, size_t iOffset);

    ExpressionOwner Make(MTTNodeFactory& iFactory) const;

    const std::string& Name() const { return _name; }
    bool IsRelative() const { return _relative; }
    const std::vector<std::string>& Path() const { return _path; }

private:
    std::string _name;
    bool _relative = true;
    std::vector<std::string> _path;
};

#endif
