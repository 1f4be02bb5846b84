#ifndef GENERATEDTEXT_H
#define GENERATEDTEXT_H

#include <cstddef>
#include <string>
#include <vector>

#include "CommentSyntax.h"

class MTLIModelObject;
class MTTEvaluationOutputLeaf;
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
        std::string key;               // unique in this output
        const MTLIModelObject* owner;  // the model object the section belongs to
        std::string modelText;         // what the model gave
        size_t leaf;                   // index of the user-code leaf
    };
    // Where a leaf's text went in Text().
    struct Piece {
        MTTEvaluationOutputLeaf* leaf;
        size_t begin;
        size_t end;
    };

    // Finds the sections and keys them; two owners with one key are told
    // apart by "#2", "#3"... in output order, with a line in oWarnings.
    GeneratedText(std::vector<MTTEvaluationOutputLeaf*> iLeaves, const UserCodeKeys& iKeys,
                  const CommentSyntax& iSyntax, std::string& oWarnings);
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
