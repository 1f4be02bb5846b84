#ifndef POSITIONLOCATOR_H
#define POSITIONLOCATOR_H

#include <string>

#include "ParseOptions.h"

class MTTIStatement;
class SourceMap;

// Finds where the nodes of a tree parsed without recording positions came
// from, when the source map is first asked: it parses the texts the map
// keeps once more, recording positions this time, and walks the two trees
// side by side, which the same texts and options make alike node for node.
// Should they ever differ, the nodes from there on stay without a place
// rather than get a wrong one. The tree must still be alive.
class PositionLocator {
public:
    PositionLocator(const MTTIStatement* iRoot, std::string iFileName, const ParseOptions& iOptions);

    void operator()(SourceMap& ioMap) const;

private:
    const MTTIStatement* _root;
    std::string _fileName;
    ParseOptions _options;
};

#endif
