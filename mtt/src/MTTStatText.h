#ifndef MTTSTATTEXT_H
#define MTTSTATTEXT_H

#include "MTTIStatement.h"

// Literal template text: one leaf holding the text, in both modes.
class MTTStatText : public MTTIStatement {
public:
    explicit MTTStatText(const MTTString& iText);
    ~MTTStatText() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetText() const { return _text; }
    const MTTString& Text() const { return _text; }
    void SetText(const MTTString& iText);

private:
    MTTString _text;
};

#endif
