#ifndef NODEBUILDER_H
#define NODEBUILDER_H

#include <string>

#include "ListOfMTTString.h"
#include "NodeOwners.h"

class PropertyReference;
class TrackingNodeFactory;
struct ParseOptions;

// Builds the nodes whose form depends on the parse options: literals (late
// evaluation writes some of them into generated code) and properties
// (strictness).
class NodeBuilder {
public:
    // Where a literal's text ends up.
    enum class Use {
        kGenerating,     // read while generating: the raw text
        kGeneratedCode,  // written into generated code: a literal of that language
        kOrAssign,       // the value of "|=": like kGeneratedCode, but a number stays bare
    };

    NodeBuilder(TrackingNodeFactory& ioFactory, const ParseOptions& iOptions);

    // A string, number, true or false. Immediate evaluation reads only the
    // text; late evaluation writes a quoted string as "text" and a number
    // bare unless iUse makes it a literal of the generated language.
    ExpressionOwner Literal(const std::string& iText, bool iNumber, Use iUse) const;
    ExpressionOwner Property(const PropertyReference& iReference) const;

private:
    TrackingNodeFactory& _factory;
    const ParseOptions& _options;
    mutable ListOfMTTString _path;  // see PropertyReference::Make
};

#endif
