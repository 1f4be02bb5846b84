#ifndef MTTTEXTWRITER_H
#define MTTTEXTWRITER_H

#include <cstddef>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeafType.h"
#include "MTTExpressionText.h"
#include "MTTIOutputListener.h"
#include "MTTStatementKind.h"
#include "MTTStatementRun.h"
#include "MTTString.h"

class MTLIModelObject;
class MTTIExpression;
class MTTIStatement;
class MTTITextPieceListener;

// Where a statement's evaluation goes when only its text is wanted: every
// piece is appended to one string, and no output object is made. It offers
// the operations of MTTOutputBuilder (the tree), over which each statement
// writes its evaluation once. Each statement kind of the library writes its
// own text; a statement of another kind (a host's own) is evaluated and its
// output's text appended.
//
// With kHeard (MTTHeardTextWriter), a listener also hears the tree that
// MTTOutputBuilder would build, node by node and leaf by leaf; a writer of
// its own, so that the plain text path (MTTTextWriter) pays nothing for it.
template <bool kHeard>
class MTTTextWriterOf {
public:
    typedef bool Result;
    struct Node {};  // nothing to hold: the text goes straight to the string

    // iUserCode, when given, hears the pieces usercode directives write;
    // iOutput (with kHeard only) the output tree the tree path would build.
    MTTTextWriterOf(MTTEvaluationEnvironment* iEnvironment, MTTString& ioText,
                    MTTITextPieceListener* iUserCode = nullptr, MTTIOutputListener* iOutput = nullptr);

    // Appends the text of iStatement's evaluation; false when it failed
    // (after its messages; what it appended is left for the caller to cut).
    // iKind is the statement's kind when the caller knows it.
    bool Write(MTTIStatement* iStatement);
    // Inline (below): every statement of a list goes through it.
    bool Write(MTTIStatement* iStatement, MTTStatementKind iKind);

    // The text path serves immediate evaluation only.
    static constexpr bool Late() { return false; }
    static Result Fail() { return false; }
    Result Leaf(MTTIStatement* iStatement, MTLIModelObject* iObject, const MTTString& iText)
    {
        const size_t begin = _text.Length();
        _text.Append(iText);
        if constexpr (kHeard) HearLeaf(iStatement, iObject, MTTLeafGeneratedText, begin);
        return true;
    }
    Result Leaf(MTTIStatement* iStatement, MTLIModelObject* iObject, const char* iText, size_t iLength)
    {
        const size_t begin = _text.Length();
        _text.Append(iText, iLength);
        if constexpr (kHeard) HearLeaf(iStatement, iObject, MTTLeafGeneratedText, begin);
        return true;
    }
    Result Value(MTTIStatement* iStatement, MTLIModelObject* iObject, MTTIExpression* iExpression,
                 MTTExpressionText::Kind iKind, MTTEvaluationEnvironment* iEnvironment)
    {
        MTTExpressionText value(iExpression, iKind, iEnvironment);
        const size_t begin = _text.Length();
        _text.Append(value.Text());
        if constexpr (kHeard) HearLeaf(iStatement, iObject, MTTLeafGeneratedText, begin);
        return true;
    }
    Result Empty(MTTIStatement* iStatement, MTLIModelObject* iObject)
    {
        if constexpr (kHeard) {
            HearOpen(iStatement, iObject);
            HearClose();
        }
        return true;
    }

    Node Open(MTTIStatement* iStatement, MTLIModelObject* iObject)
    {
        if constexpr (kHeard) HearOpen(iStatement, iObject);
        return Node();
    }
    static void Reserve(Node, int) {}
    bool Add(Node, MTTIStatement* iStatement, MTTStatementKind iKind, MTTEvaluationEnvironment*)
    {
        return Write(iStatement, iKind);
    }
    // Only a usercode statement adds leaves one by one.
    void AddLeaf(Node, MTTIStatement* iStatement, MTLIModelObject* iObject, const MTTString& iText,
                 MTTEvaluationOutputLeafType iType = MTTLeafGeneratedText)
    {
        const size_t begin = _text.Length();
        _text.Append(iText);
        if (_userCode != nullptr) Hear(iStatement, iObject, iType, begin);
        if constexpr (kHeard) HearLeaf(iStatement, iObject, iType, begin);
    }
    Result Close(Node)
    {
        if constexpr (kHeard) HearClose();
        return true;
    }
    // A failure fails the whole text: what the listener heard is void then.
    static Result Abandon(Node) { return false; }

private:
    // A statement of a host's own kind: its output's text.
    bool WriteOther(MTTIStatement* iStatement);
    // Inline, as the three below: a listened render calls them a million
    // times.
    MTLIModelObject* CurrentObject() const { return _environment->GetCurrentModelObject(); }
    // Tells _userCode of the piece from iBegin to the text's end.
    void Hear(MTTIStatement* iStatement, MTLIModelObject* iObject, MTTEvaluationOutputLeafType iType, size_t iBegin);
    // Tell _output of a leaf from iBegin to the text's end, of a node and of
    // a node's end.
    void HearLeaf(MTTIStatement* iStatement, MTLIModelObject* iObject, MTTEvaluationOutputLeafType iType, size_t iBegin)
    {
        _output->OnLeaf(iStatement, iObject, iType, iBegin, _text.Length());
    }
    void HearOpen(MTTIStatement* iStatement, MTLIModelObject* iObject) { _output->OnNodeOpen(iStatement, iObject); }
    void HearClose() { _output->OnNodeClose(); }

    MTTEvaluationEnvironment* _environment;
    MTTString& _text;
    MTTITextPieceListener* _userCode;
    MTTIOutputListener* _output;
};

#include "MTTNodeClasses.h"

template <bool kHeard>
inline bool MTTTextWriterOf<kHeard>::Write(MTTIStatement* iStatement, MTTStatementKind iKind)
{
    // The two commonest kinds without a call: what their Run writes when
    // nothing is missing. A missing environment or expression goes to their
    // WriteText, which reports it. Their leaves belong to the current model
    // object, as in the tree; only a listener asks which that is.
    if (_environment != nullptr) {
        if (iKind == MTTStatementKind::kStatText) {
            if constexpr (kHeard) {
                return Leaf(iStatement, CurrentObject(), static_cast<MTTStatText*>(iStatement)->Text());
            } else {
                _text.Append(static_cast<MTTStatText*>(iStatement)->Text());
                return true;
            }
        }
        if (iKind == MTTStatementKind::kStatExpression) {
            MTTStatExpression* statement = static_cast<MTTStatExpression*>(iStatement);
            if (statement->GetExpression() != nullptr) {
                return Value(statement, kHeard ? CurrentObject() : nullptr, statement->GetExpression(),
                             statement->ExpressionKind(), _environment);
            }
        }
    }
    switch (iKind) {
#define MTT_NODE(Kind)
#define MTT_STATEMENT(Kind)         \
    case MTTStatementKind::k##Kind: \
        return static_cast<MTT##Kind*>(iStatement)->WriteText(_environment, *this);
#include "MTTNodeKinds.def"
    case MTTStatementKind::kOther: break;
    }
    return WriteOther(iStatement);
}

#endif
