#ifndef MTTEXPSTRING_H
#define MTTEXPSTRING_H

#include "MTTIExpression.h"

// A literal text. True unless the text is exactly "false". Late, it is the
// text itself, between double quotes when _quoted (no escaping).
class MTTExpString final : public MTTIExpression {
public:
    MTTExpString(const MTTString& iText, bool iQuoted);
    ~MTTExpString() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    int GetExpType() override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
    MTTString EvaluateString(MTTEvaluationEnvironment* iEnvironment) override;
    MTTString LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetText() const { return _text; }
    const MTTString& Text() const { return _text; }
    bool IsQuoted() const { return _quoted; }

private:
    MTTString _text;
    bool _quoted;
};

#endif
