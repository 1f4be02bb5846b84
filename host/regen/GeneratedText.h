#ifndef GENERATEDTEXT_H
#define GENERATEDTEXT_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "CommentSyntax.h"
#include "MTTITextPieceListener.h"
#include "MTTString.h"
#include "MttOutputShape.h"

class MTLIModelObject;
class MTTIStatement;
class UserCodeKeys;

// The text written for an output tree (its text and shape), or for a text
// written without one with the places of its usercode directives' pieces:
// the leaves' texts (or the text) in order, except around user code. The library brackets each
// user-code leaf with fixed "// ... User Code" marker leaves; here they are
// written in the output's comment syntax, the begin line carrying the key
// of the section's owner, and the user-code leaf's text is the one decided
// for that section (kept from the file being replaced, or the model's). The
// end marker always starts a line of its own.
class GeneratedText {
public:
    struct Section {
        std::string key;                 // see UserCodeKeys
        std::string pointer;             // the owner's JSON pointer
        bool positional;                 // the key holds a list position
        const MTLIModelObject* owner;    // the model object the section belongs to
        const MTTIStatement* statement;  // the usercode directive
        std::string modelText;           // what the model gave
    };
    // The name a usercode statement gives its section ("" for none).
    using SectionNamer = std::function<std::string(const MTTIStatement*)>;
    // Where a leaf's text went in Text().
    struct Piece {
        mtt::OutputShape::Leaf leaf;
        MTTIStatement* statement;  // the leaf's
        size_t begin;
        size_t end;
    };

    // Finds the sections and keys them (keys need not be unique: the
    // caller refuses what is ambiguous).
    GeneratedText(MTTString iText, mtt::OutputShape iShape, const UserCodeKeys& iKeys, const SectionNamer& iNamer,
                  const CommentSyntax& iSyntax);
    // The same from a text written without a tree and the pieces its
    // usercode directives wrote there, in text order (MTTEvaluateText):
    // the same sections and text, but no pieces.
    GeneratedText(MTTString iText, const std::vector<MTTTextPiece>& iUserCode, const UserCodeKeys& iKeys,
                  const SectionNamer& iNamer, const CommentSyntax& iSyntax);
    // A text written without a tree: no sections, no pieces.
    GeneratedText(MTTString iText, const CommentSyntax& iSyntax);

    const std::vector<Section>& Sections() const { return _sections; }

    // Builds the text with iTexts[i] as the text of section i. Once: a
    // text written without a tree is let go of then, so that a large
    // output is not held twice.
    void Compose(const std::vector<std::string>& iTexts);
    // The rendered text itself where no section changed it: a large output
    // is held once, as the render wrote it.
    std::string_view Text() const { return _textIsSource ? Source() : std::string_view(_text); }
    // Each leaf's place, for a text made from leaves: none for a text
    // written without a tree. The leaves' texts follow each other.
    size_t PieceCount() const { return _composed ? _shape.LeafCount() : 0; }
    Piece PieceAt(size_t iPiece) const
    {
        size_t run = 0;
        return PieceAt(iPiece, run);
    }
    // The same for pieces asked for in order: ioRun, kept between the
    // calls, spares finding each piece's object afresh.
    Piece PieceAt(size_t iPiece, size_t& ioRun) const
    {
        const mtt::OutputShape::Leaf leaf = _shape.LeafAt(iPiece, ioRun);
        return Piece{leaf, _shape.StatementOf(leaf), iPiece == 0 ? 0 : PartEnd(iPiece - 1), PartEnd(iPiece)};
    }
    // The tree's shape, for a text made from leaves (empty otherwise).
    const mtt::OutputShape& Shape() const { return _shape; }
    // Lets go of a large output's shape once what reads the pieces (a
    // trace, the explain page) has read them: it takes several times the
    // text. The text stays; there are no pieces after, or the same.
    void ForgetPieces();
    // Section i's text as it will read back from Text().
    const std::string& WrittenText(size_t iSection) const { return _written[iSection]; }
    // The directive whose output covers 1-based line iLine of Text(), or
    // null: any for a text made from leaves, a usercode directive's for
    // one written without a tree.
    const MTTIStatement* StatementAtLine(int iLine) const;

private:
    enum class Role : char { kText, kBegin, kUserCode, kEnd };
    // A stretch of the text before it is composed: a leaf's text, or in a
    // text written without a tree, a directive's piece or the text between.
    struct Part {
        std::string_view text;
        const MTTIStatement* statement;
        const MTLIModelObject* object;
        bool userCode;
    };

    // Made from the leaf where there are leaves (millions of them: only
    // the shape is kept), else kept.
    size_t PartCount() const { return _shape.LeafCount() == 0 ? _parts.size() : _shape.LeafCount(); }
    Part PartAt(size_t iPart) const;
    // The roles of the parts, the sections and the line end.
    void Find(const UserCodeKeys& iKeys, const SectionNamer& iNamer);
    bool IsMarker(size_t iPart, const Part& iUserCode, const char* iText) const;
    // Roles are kept from the first section on: a text without sections
    // has parts of text only.
    Role RoleOf(size_t iPart) const { return _roles.empty() ? Role::kText : _roles[iPart]; }
    void SetRole(size_t iPart, Role iRole, size_t iSection);
    // The rendered text, as the library wrote it.
    std::string_view Source() const { return std::string_view(_source.ConvertToChar(), _source.Length()); }
    // Where part iPart ended in Text(), once composed. Leaves without
    // sections end where they ended in the text written: their ends are
    // not kept twice.
    size_t PartEnd(size_t iPart) const { return _partEnds.empty() ? _shape.LeafEnd(iPart) : _partEnds[iPart]; }

    mtt::OutputShape _shape;
    MTTString _source;         // the text rendered: what the parts view
    std::vector<Part> _parts;  // without a tree
    std::vector<Role> _roles;
    std::vector<uint32_t> _sectionOfPart;
    std::vector<Section> _sections;
    CommentSyntax _syntax;
    std::string _lineEnd;
    std::string _text;  // composed, unless the text is _source
    bool _textIsSource = false;
    std::vector<size_t> _partEnds;  // where each part ended in Text(), unless as written
    bool _composed = false;
    std::vector<std::string> _written;
};

#endif
