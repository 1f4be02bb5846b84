#ifndef MTTEXPRESSIONTEXT_H
#define MTTEXPRESSIONTEXT_H

#include <new>

#include "MTTExpProperty.h"
#include "MTTExpString.h"
#include "MTTExpVariable.h"
#include "MTTString.h"

class MTTEvaluationEnvironment;

// The text of an expression, lent instead of copied where it already
// exists: a string literal's own text, a variable's value in the table.
// Comparisons and the text path read operands this way; other kinds are
// evaluated with EvaluateString (a property's own, without a virtual
// call), whose result is kept here. A lent text stays valid while no
// statement runs (expressions never write variables). Inline: every value
// of a render goes through it.
class MTTExpressionText {
public:
    // What an expression is, found once when the node that holds it is built.
    enum Kind : unsigned char { kOther, kString, kVariable, kProperty };
    static Kind KindOf(const MTTIExpression* iExpression);

    MTTExpressionText(MTTIExpression* iExpression, Kind iKind, MTTEvaluationEnvironment* iEnvironment)
        : _text(nullptr), _kind(iKind)
    {
        if (iKind == kString) {
            _text = &static_cast<MTTExpString*>(iExpression)->Text();
        } else if (iKind == kVariable) {
            new (&_own) MTTString();
            _text = static_cast<MTTExpVariable*>(iExpression)->Lend(iEnvironment, _own);
        } else if (iKind == kProperty) {
            new (&_own) MTTString(static_cast<MTTExpProperty*>(iExpression)->Value(iEnvironment));
            _text = &_own;
        } else {
            new (&_own) MTTString(iExpression->EvaluateString(iEnvironment));
            _text = &_own;
        }
    }
    // A short text holds no buffer, and its destructor would do nothing.
    ~MTTExpressionText()
    {
        if (_kind != kString && _own.HoldsBuffer()) _own.~MTTString();
    }
    MTTExpressionText(const MTTExpressionText&) = delete;
    MTTExpressionText& operator=(const MTTExpressionText&) = delete;

    const MTTString& Text() const { return *_text; }

private:
    // Made only when needed: a literal's text is lent and needs no string.
    union {
        MTTString _own;
    };
    const MTTString* _text;
    Kind _kind;
};

#endif
