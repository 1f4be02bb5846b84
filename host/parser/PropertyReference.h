#ifndef PROPERTYREFERENCE_H
#define PROPERTYREFERENCE_H

#include <cstddef>
#include <string>
#include <vector>

#include "NodeOwners.h"

class ListOfMTTString;
class MTTNodeFactory;
class SourceText;

// The parts of a property "${ref:path}", checked against the grammar the
// model and the late runtime read (docs/template-language.md):
//   ref      base { "|" transform [ "(" arguments ")" ] }
//   base     plain | quoted | "." | "@" loop value
//   path     "/" | [ "/" ] element { "/" element }
//   element  plain | quoted        (".." is the enclosing object)
// The ref and the elements are kept as written (quotes and escapes
// included): that is the canonical form handed to the model.
class PropertyReference {
public:
    PropertyReference() = default;
    PropertyReference(std::string iRef, bool iRelative, std::vector<std::string> iPath);

    // Reads the iLength bytes between "${" and "}", which start at iOffset
    // in the source. Throws TemplateSyntaxError.
    static PropertyReference Parse(const char* iContent, size_t iLength, size_t iOffset);
    // The offset of the "}" that closes the property opened at iOpen,
    // looking no further than iLimit, the line end or a "%]"; quoted names
    // may hold "}", ":" and "%]".
    // Throws TemplateSyntaxError.
    static size_t FindEnd(const SourceText& iSource, size_t iOpen, size_t iLimit);
    // iText as a quoted name.
    static std::string Quote(const std::string& iText);
    // "unknown transform 'x'; expected ...".
    static std::string UnknownTransform(const std::string& iName);
    // Refuses what cannot be a path element ("." alone); iOffset is where it starts.
    static void CheckElement(const std::string& iElement, size_t iOffset);

    // With iStrict, a member value is read as the object reached through
    // the member ("${.|t:path/name}"), so that a missing member fails the
    // property's walk instead of giving the empty text.
    // ioPath: a list to build the path in (its old content is dropped),
    // which the node copies; one list for every property of a parse
    // leaves no abandoned copies among the nodes in the block pool.
    ExpressionOwner Make(MTTNodeFactory& iFactory, bool iStrict, ListOfMTTString& ioPath) const;
    // The property as the model reads it inside an expression
    // (host/runtime/mtt_expression_reader.h), strict as Make makes it.
    std::string Write(bool iStrict) const;

    const std::string& Ref() const { return _ref; }
    bool IsRelative() const { return _relative; }
    const std::vector<std::string>& Path() const { return _path; }

private:
    // The ref and path, strict or not.
    void Strictly(bool iStrict, std::string& oRef, std::vector<std::string>& oPath) const;

    std::string _ref;
    bool _relative = true;
    std::vector<std::string> _path;
    // The length of a plain or quoted base at the start of _ref; 0 for
    // the derived values and the empty ref.
    size_t _memberLength = 0;
};

#endif
