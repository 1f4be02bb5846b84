#ifndef GENERATEDTEXT_H
#define GENERATEDTEXT_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "CommentSyntax.h"

class MTLIModelObject;
class MTTEvaluationOutputLeaf;
class MTTIStatement;
class UserCodeKeys;

// The text written for an output tree: the leaves' texts in order, except
// around user code. The library brackets each user-code leaf with fixed
// "// ... User Code" marker leaves; here they are written in the output's
// comment syntax, the begin line carrying the key of the section's owner,
// and the user-code leaf's text is the one decided for that section (kept
// from the file being replaced, or the model's). The end marker always
// starts a line of its own.
class GeneratedText {
public:
    struct Section {
        std::string key;                 // see UserCodeKeys
        std::string pointer;             // the owner's JSON pointer
        bool positional;                 // the key holds a list position
        const MTLIModelObject* owner;    // the model object the section belongs to
        const MTTIStatement* statement;  // the usercode directive
        std::string modelText;           // what the model gave
        size_t leaf;                     // index of the user-code leaf
    };
    // The name a usercode statement gives its section ("" for none).
    using SectionNamer = std::function<std::string(const MTTIStatement*)>;
    // Where a leaf's text went in Text().
    struct Piece {
        MTTEvaluationOutputLeaf* leaf;
        size_t begin;
        size_t end;
    };

    // Finds the sections and keys them (keys need not be unique: the
    // caller refuses what is ambiguous).
    GeneratedText(std::vector<MTTEvaluationOutputLeaf*> iLeaves, const UserCodeKeys& iKeys, const SectionNamer& iNamer,
                  const CommentSyntax& iSyntax);
    // A text written without a tree: no sections, no pieces.
    GeneratedText(std::string iText, const CommentSyntax& iSyntax);

    const std::vector<Section>& Sections() const { return _sections; }

    // Builds the text with iTexts[i] as the text of section i.
    void Compose(const std::vector<std::string>& iTexts);
    const std::string& Text() const { return _text; }
    const std::vector<Piece>& Pieces() const { return _pieces; }
    // Section i's text as it will read back from Text().
    const std::string& WrittenText(size_t iSection) const { return _written[iSection]; }
    // The leaf whose text covers 1-based line iLine of Text(), or null.
    MTTEvaluationOutputLeaf* LeafAtLine(int iLine) const;

private:
    enum class Role : char { kText, kBegin, kUserCode, kEnd };

    std::vector<MTTEvaluationOutputLeaf*> _leaves;
    std::vector<Role> _roles;
    std::vector<size_t> _sectionOfLeaf;
    std::vector<Section> _sections;
    CommentSyntax _syntax;
    std::string _lineEnd;
    std::string _text;
    std::vector<Piece> _pieces;
    std::vector<std::string> _written;
};

#endif
